#include "video/UnitVideo.h"

#include "win/ModuleInstance.h"

namespace {

const char kFormClass[] = "TFormVideo";
const char kPanelClass[] = "TPanel";
const char kFormCaption[] = "Halden Lumivox Control";
const char kPanelCaption[] = "Halden Lumivox";
const COLORREF kMarkColor = RGB(255, 0, 0);
const COLORREF kCaptionColor = RGB(0, 0, 255);

HFONT CreateCaptionFont() {
  LOGFONTA font{};
  font.lfHeight = -24;
  font.lfWeight = FW_BOLD;
  font.lfItalic = TRUE;
  font.lfCharSet = ANSI_CHARSET;
  lstrcpynA(font.lfFaceName, "Comic Sans MS", LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

}  // namespace

int32_t TVideoPanel::ClientWidth() const {
  RECT r{};
  GetClientRect(handle_, &r);
  return r.right;
}

int32_t TVideoPanel::ClientHeight() const {
  RECT r{};
  GetClientRect(handle_, &r);
  return r.bottom;
}

void TVideoMark::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  bounds_ = RECT{left, top, left + width, top + height};
  InvalidateRect(panel_, nullptr, FALSE);
}

void TVideoMark::SetVisible(bool visible) {
  visible_ = visible;
  InvalidateRect(panel_, nullptr, FALSE);
}

bool TVideoImage::LoadFromFile(const std::wstring& fileName) {
  const bool loaded = picture_.LoadFromFile(fileName);
  if (loaded) InvalidateRect(panel_, nullptr, FALSE);
  return loaded;
}

void TVideoImage::Clear() {
  picture_.Clear();
  InvalidateRect(panel_, nullptr, FALSE);
}

TFormVideo::TFormVideo() : TBorderlessForm(kFormClass, kFormCaption, 0), icon_(Handle()) {
  EnsureWindowClass(kPanelClass, PanelProc);
  captionFont_.Reset(CreateCaptionFont());
  pnlVideo.handle_ = CreateWindowExA(0, kPanelClass, kPanelCaption,
                                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 392, 266,
                                     Handle(), nullptr, ModuleInstance(), this);
  SetWindowLongPtrA(pnlVideo.handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  for (TVideoMark* mark : {&lblLeftTop, &lblLeftBottom, &lblRightTop, &lblRightBottom}) {
    mark->panel_ = pnlVideo.handle_;
  }
  imgLogo.panel_ = pnlVideo.handle_;
  SetBounds(0, 0, 392, 266);
}

TFormVideo::~TFormVideo() {
  if (pnlVideo.handle_) SetWindowLongPtrA(pnlVideo.handle_, GWLP_USERDATA, 0);
}

// The panel follows the client area, as a panel aligned to the client would.
bool TFormVideo::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message == WM_DISPLAYCHANGE && OnDisplayChange) {
    OnDisplayChange();
    return false;
  }
  if (message == WM_SIZE && pnlVideo.handle_) {
    MoveWindow(pnlVideo.handle_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    result = 0;
    return true;
  }
  return false;
}

// Panel colour and bevel, centred caption, stretched logo, then the marks on top.
void TFormVideo::PaintPanel(HDC dc) const {
  RECT client{};
  GetClientRect(pnlVideo.handle_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_GRADIENTACTIVECAPTION));
  RECT bevel = client;
  DrawEdge(dc, &bevel, BDR_RAISEDINNER, BF_RECT);
  RECT inner = client;
  InflateRect(&inner, -1, -1);
  {
    const TGdiSelection caption(dc, captionFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kCaptionColor);
    DrawTextA(dc, kPanelCaption, -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  imgLogo.picture_.StretchDraw(dc, inner);
  const TGdiObject<HBRUSH> markBrush(CreateSolidBrush(kMarkColor));
  for (const TVideoMark* mark : {&lblRightTop, &lblLeftTop, &lblLeftBottom, &lblRightBottom}) {
    if (mark->visible_) FillRect(dc, &mark->bounds_, markBrush.Get());
  }
}

LRESULT CALLBACK TFormVideo::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<TFormVideo*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (form && (message == WM_PAINT || message == WM_PRINTCLIENT)) {
    PAINTSTRUCT ps{};
    HDC target = message == WM_PAINT ? BeginPaint(window, &ps) : reinterpret_cast<HDC>(wParam);
    RECT client{};
    GetClientRect(window, &client);
    // Drawn off screen first so the logo never flickers over the caption.
    {
      const TMemoryDC memory(CreateCompatibleDC(target));
      const TGdiObject<HBITMAP> buffer(CreateCompatibleBitmap(target, client.right, client.bottom));
      const TGdiSelection drawn(memory.Get(), buffer.Get());
      form->PaintPanel(memory.Get());
      BitBlt(target, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
    if (message == WM_PAINT) EndPaint(window, &ps);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}
