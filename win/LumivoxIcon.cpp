#include "win/LumivoxIcon.h"

#include "win/ModuleInstance.h"
#include "win/IconResource.h"

HICON LoadModuleIcon(int resourceId, int size) {
  return static_cast<HICON>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(resourceId),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

TWindowIcon::TWindowIcon(HWND window)
    : window_(window),
      big_(LoadModuleIcon(IDI_LUMIVOX, GetSystemMetrics(SM_CXICON))),
      small_(LoadModuleIcon(IDI_LUMIVOX, GetSystemMetrics(SM_CXSMICON))) {
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_));
}

TWindowIcon::~TWindowIcon() {
  if (IsWindow(window_)) {
    SendMessageA(window_, WM_SETICON, ICON_BIG, 0);
    SendMessageA(window_, WM_SETICON, ICON_SMALL, 0);
  }
  if (big_) DestroyIcon(big_);
  if (small_) DestroyIcon(small_);
}
