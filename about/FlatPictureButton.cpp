#include "about/FlatPictureButton.h"

#include "win/GdiHandles.h"
#include "win/ModuleInstance.h"

namespace {
const char kClassName[] = "TSpeedButton";
}  // namespace

TFlatPictureButton::TFlatPictureButton(HWND parent, int id, const RECT& bounds, HICON picture)
    : picture_(picture) {
  EnsureWindowClass(kClassName, WindowProc);
  handle_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
                            bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(),
                            nullptr);
  if (handle_) SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TFlatPictureButton::~TFlatPictureButton() {
  if (handle_) {
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
  if (picture_) DestroyIcon(picture_);
}

// Button face, the picture centred (moved by a pixel while pressed), then the frame.
void TFlatPictureButton::Paint(HDC dc) const {
  RECT client{};
  GetClientRect(handle_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  ICONINFO info{};
  BITMAP size{};
  if (picture_ && GetIconInfo(picture_, &info)) {
    // The icon's bitmaps are copies the caller owns.
    const TGdiObject<HBITMAP> color(info.hbmColor), mask(info.hbmMask);
    GetObject(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(size), &size);
    const int shift = pressed_ ? 1 : 0;
    DrawIconEx(dc, (client.right - size.bmWidth) / 2 + shift,
               (client.bottom - size.bmHeight) / 2 + shift, picture_, 0, 0, 0, nullptr,
               DI_NORMAL);
  }
  if (pressed_) {
    DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
  } else if (hot_) {
    DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
  }
}

void TFlatPictureButton::SetHot(bool hot) {
  if (hot_ == hot) return;
  hot_ = hot;
  if (hot) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
  }
  InvalidateRect(handle_, nullptr, TRUE);
}

LRESULT CALLBACK TFlatPictureButton::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  auto* button = reinterpret_cast<TFlatPictureButton*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!button) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      button->Paint(BeginPaint(window, &ps));
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      button->Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      button->SetHot(true);
      return 0;
    case WM_MOUSELEAVE:
      button->SetHot(false);
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(window);
      button->pressed_ = true;
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == window) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      button->pressed_ = false;
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
