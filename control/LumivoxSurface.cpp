// The control's own surface: a plain child window in the control's colour.
#include "win/GdiHandles.h"
#include "win/GdiValues.h"
#include "control/LumivoxImpl.h"
#include "win/ModuleInstance.h"
#include "win/OrvexError.h"

#include <olectl.h>

namespace {
const char kSurfaceClass[] = "TLumivox";
}  // namespace

HWND TLumivox::CreateSurface(HWND parent, const RECT& bounds) {
  if (surface_) {
    bounds_ = bounds;
    SetParent(surface_, parent);
    MoveWindow(surface_, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
    return surface_;
  }
  EnsureWindowClass(kSurfaceClass, SurfaceProc);
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (surfaceVisible_ ? WS_VISIBLE : 0);
  bounds_ = bounds;
  surface_ = CreateWindowExA(0, kSurfaceClass, caption_.c_str(), style, bounds.left, bounds.top,
                             bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                             nullptr, ModuleInstance(), this);
  if (!surface_) throw EOrvexError("Error creating window");
  SetWindowLongPtrA(surface_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return surface_;
}

void TLumivox::DestroySurface() {
  if (!surface_) return;
  SetWindowLongPtrA(surface_, GWLP_USERDATA, 0);
  DestroyWindow(surface_);
  surface_ = nullptr;
}

RECT TLumivox::SurfaceBounds() const {
  if (!surface_) return bounds_;
  RECT r{};
  GetWindowRect(surface_, &r);
  MapWindowPoints(nullptr, GetParent(surface_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void TLumivox::SetSurfaceBounds(const RECT& bounds) {
  bounds_ = bounds;
  if (surface_) {
    MoveWindow(surface_, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
  }
}

void TLumivox::SetColor(uint32_t value) {
  color_ = value;
  if (surface_) InvalidateRect(surface_, nullptr, TRUE);
}

LRESULT CALLBACK TLumivox::SurfaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<TLumivox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (control && message == WM_ERASEBKGND) {
    RECT r{};
    GetClientRect(window, &r);
    const TGdiObject<HBRUSH> brush(CreateSolidBrush(ColorRefOf(control->color_)));
    FillRect(reinterpret_cast<HDC>(wParam), &r, brush.Get());
    return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
