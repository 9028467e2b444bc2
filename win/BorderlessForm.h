// A top-level window with no owner that refuses to close until its
// FAllowClose flag is set. Granted close requests hide it; destruction frees it.
// Borderless unless the derived form asks for other window styles.
#pragma once
#include <windows.h>

#include <cstdint>

class TBorderlessForm {
 public:
  TBorderlessForm(const TBorderlessForm&) = delete;
  TBorderlessForm& operator=(const TBorderlessForm&) = delete;
  virtual ~TBorderlessForm();

  HWND Handle() const { return handle_; }
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  void Show();
  void Hide();
  bool Visible() const;
  // Held hidden, the window stays off the screen whatever Show and Hide ask;
  // released, it takes the state they last asked for, without activation.
  void HoldHidden(bool hold);
  // Whether Show or Hide was asked for last: the window's state once released.
  bool ShowAsked() const { return showAsked_; }
  // Asks the window to close, as a system close command would.
  void Close();
  int32_t ClientWidth() const;
  int32_t ClientHeight() const;

  // Whether a request to close the window is granted.
  bool FAllowClose = false;

  // Answers a close request: CanClose becomes FAllowClose.
  void FormCloseQuery(bool& CanClose) const { CanClose = FAllowClose; }

 protected:
  // Registers the class once per module and creates the hidden window.
  TBorderlessForm(const char* className, const char* caption, DWORD exStyle,
                  DWORD style = WS_POPUP | WS_CLIPCHILDREN);
  // Destroys the window now, so that a derived form can free what its
  // components still use (fonts, icons) after them.
  void DestroyHandle();
  // Messages the form handles itself; returns false to fall through.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND handle_ = nullptr;
  bool held_ = false;
  bool showAsked_ = false;
};
