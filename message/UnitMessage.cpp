#include "message/UnitMessage.h"

#include <algorithm>

#include "win/ControlTypes.h"
#include "win/GdiValues.h"

namespace {

const char kFormClass[] = "TFormMessage";
const COLORREF kKeyWhite = RGB(255, 255, 255);

bool Overlaps(int32_t left, int32_t width, int32_t stripWidth) {
  return int64_t{left} + width > 0 && left < stripWidth;
}

}  // namespace

TFormMessage::TFormMessage()
    : TBorderlessForm(kFormClass, "", 0),
      tmrMove(100, false, [this] { tmrMoveTimer(); }),
      tmrRepeat(0, false, [this] { tmrRepeatTimer(); }) {}

TFormMessage::~TFormMessage() {
  tmrMove.SetEnabled(false);
  tmrRepeat.SetEnabled(false);
}

void TFormMessage::Display(const TMessageRequest& request, const RECT& video) {
  const int32_t videoWidth = video.right - video.left;
  // Stop the run in progress.
  tmrMove.SetEnabled(false);
  tmrRepeat.SetEnabled(false);
  run_.moveEnabled = run_.repeatEnabled = false;
  Hide();
  // Borderless (a pop-up window) and above the video window.
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  lblMessage.Setup(request.font, ColorRefOf(request.color), request.text);
  SetWindowTextA(Handle(), request.text.c_str());
  SetColors(request.transparent,
            request.transparent ? kKeyWhite : ColorRefOf(request.backgroundColor));
  lblMessage.Left = MessageStartLeft(request.actionStyle, videoWidth, lblMessage.Width);
  lblMessage.Top = 0;
  location_ = request.location;
  SetStripBounds(video);
  InvalidateRect(Handle(), nullptr, FALSE);
  Show();
  BringWindowToTop(Handle());
  run_.Start(request.actionStyle, request.repeat, videoWidth, lblMessage.Width);
  FAllowClose = false;
  tmrRepeat.SetInterval(MessageRepeatInterval(request.interval));
  tmrMove.SetInterval(MessageMoveInterval(request.actionStyle, request.speed));
  lblMessage.Visible = true;
  ApplyTimers();
}

void TFormMessage::SetStripBounds(const RECT& video) {
  const int32_t videoHeight = video.bottom - video.top;
  const int32_t offset = MessageStripOffset(location_, videoHeight, lblMessage.Height);
  stripWidth_ = video.right - video.left;
  SetBounds(video.left, video.top + offset, stripWidth_, lblMessage.Height);
}

void TFormMessage::PlaceAlong(const RECT& video) {
  SetStripBounds(video);
  if (EffectiveActionStyle(run_.actionStyle) == aStatic) {
    run_.labelLeft = MessageStartLeft(aStatic, stripWidth_, lblMessage.Width);
    lblMessage.Left = run_.labelLeft;
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

// The window's colour, and the colour key that is on exactly for a transparent
// strip: pixels of the key colour are not drawn, so the video shows through.
void TFormMessage::SetColors(bool transparent, COLORREF color) {
  if (!brush_ || color != color_) {
    brush_.Reset(CreateSolidBrush(color));
    color_ = color;
  }
  const LONG_PTR exStyle = GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
  if (transparent) {
    SetWindowLongPtrA(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(Handle(), color, 255, LWA_COLORKEY);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongPtrA(Handle(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  }
}

void TFormMessage::tmrMoveTimer() {
  const int32_t oldLeft = run_.labelLeft;
  const bool oldVisible = run_.labelVisible;
  const TMoveOutcome outcome = run_.MoveTick(stripWidth_, lblMessage.Width);
  ApplyTimers();
  ShowLabelMove(oldLeft, oldVisible);
  if (outcome == TMoveOutcome::RunEnded) {
    FAllowClose = true;
    Close();
  }
}

void TFormMessage::tmrRepeatTimer() {
  const bool oldVisible = run_.labelVisible;
  run_.RepeatTick();
  ShowLabelMove(run_.labelLeft, oldVisible);
  ApplyTimers();
}

void TFormMessage::ApplyTimers() {
  tmrMove.SetEnabled(run_.moveEnabled);
  tmrRepeat.SetEnabled(run_.repeatEnabled);
}

// A one-pixel step scrolls the strip; a label that stays outside the strip
// needs no painting at all.
void TFormMessage::ShowLabelMove(int32_t oldLeft, bool oldVisible) {
  lblMessage.Left = run_.labelLeft;
  lblMessage.Visible = run_.labelVisible;
  const int32_t w = lblMessage.Width;
  const bool shown = (oldVisible && Overlaps(oldLeft, w, stripWidth_)) ||
                     (lblMessage.Visible && Overlaps(lblMessage.Left, w, stripWidth_));
  if (!shown || (oldVisible == lblMessage.Visible && oldLeft == lblMessage.Left)) return;
  const int32_t step = lblMessage.Left - oldLeft;
  if (oldVisible != lblMessage.Visible || (step != 1 && step != -1)) {
    InvalidateRect(Handle(), nullptr, FALSE);
    UpdateWindow(Handle());
    return;
  }
  Scroll(step);
}

// Shifts the strip's pixels by the step and paints what the system reports it
// could not shift: the column uncovered, and wherever the pixels to shift were
// not the window's own (off the screen, or under another window where the
// desktop keeps no image of each window). Nothing is read that the system
// does not vouch for, so nothing foreign is carried along with the text.
void TFormMessage::Scroll(int32_t step) {
  const TWindowDC window(Handle());
  const RECT strip{0, 0, stripWidth_, lblMessage.Height};
  const TGdiObject<HRGN> unshifted(CreateRectRgn(0, 0, 0, 0));
  RECT box{};
  ScrollDC(window.Get(), step, 0, &strip, &strip, unshifted.Get(), nullptr);
  if (GetRgnBox(unshifted.Get(), &box) != NULLREGION) {
    SelectClipRgn(window.Get(), unshifted.Get());
    Paint(window.Get(), box);
  }
}

// Fills what the label leaves of the area in the window's colour, then draws
// the label, so no pixel is painted twice (but the glyphs of a label too large
// for an image, which are drawn over their background).
void TFormMessage::Paint(HDC dc, const RECT& area) const {
  const RECT label = lblMessage.Visible ? lblMessage.Bounds() : RECT{0, 0, 0, 0};
  RECT covered{};
  if (!IntersectRect(&covered, &area, &label)) {
    FillRect(dc, &area, brush_.Get());
    return;
  }
  const RECT pieces[4] = {{area.left, area.top, area.right, covered.top},
                          {area.left, covered.bottom, area.right, area.bottom},
                          {area.left, covered.top, covered.left, covered.bottom},
                          {covered.right, covered.top, area.right, covered.bottom}};
  for (const RECT& piece : pieces) {
    if (piece.left < piece.right && piece.top < piece.bottom) FillRect(dc, &piece, brush_.Get());
  }
  lblMessage.Draw(dc, covered, color_);
}

bool TFormMessage::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;  // WM_PAINT covers every pixel
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      if (brush_) Paint(dc, ps.rcPaint);
      EndPaint(Handle(), &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(Handle(), &client);
      if (brush_) Paint(reinterpret_cast<HDC>(wParam), client);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}
