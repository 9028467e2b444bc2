// The control's icon on a window, in the two sizes the system shows (title
// bar and task switcher), loaded from the module's resources.
#pragma once
#include <windows.h>

// An icon resource of this module at the given size, or null; the caller
// destroys it.
HICON LoadModuleIcon(int resourceId, int size);

class TWindowIcon {
 public:
  // Sets the control's icon on the window.
  explicit TWindowIcon(HWND window);
  // Takes the icon off the window if it still exists, then frees it.
  ~TWindowIcon();
  TWindowIcon(const TWindowIcon&) = delete;
  TWindowIcon& operator=(const TWindowIcon&) = delete;

 private:
  HWND window_;
  HICON big_;
  HICON small_;
};
