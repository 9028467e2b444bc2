// A flat picture button: a child window that draws a picture centred on the
// button face and shows a raised frame only while the mouse is over it (a
// sunken one while it is held down). Clicking it does nothing.
#pragma once
#include <windows.h>

class TFlatPictureButton {
 public:
  // Creates the child window; the button owns the picture and frees it.
  TFlatPictureButton(HWND parent, int id, const RECT& bounds, HICON picture);
  ~TFlatPictureButton();
  TFlatPictureButton(const TFlatPictureButton&) = delete;
  TFlatPictureButton& operator=(const TFlatPictureButton&) = delete;

  HWND Handle() const { return handle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc) const;
  void SetHot(bool hot);

  HWND handle_ = nullptr;
  HICON picture_;
  bool hot_ = false;
  bool pressed_ = false;
};
