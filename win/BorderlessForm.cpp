#include "win/BorderlessForm.h"

#include "win/ModuleInstance.h"
#include "win/OrvexError.h"

TBorderlessForm::TBorderlessForm(const char* className, const char* caption, DWORD exStyle,
                                 DWORD style) {
  EnsureWindowClass(className, WindowProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                    CS_DBLCLKS);
  handle_ = CreateWindowExA(exStyle, className, caption, style, 0, 0, 0, 0,
                            nullptr, nullptr, ModuleInstance(), this);
  if (!handle_) throw EOrvexError("Error creating window");
}

TBorderlessForm::~TBorderlessForm() { DestroyHandle(); }

void TBorderlessForm::DestroyHandle() {
  if (!handle_) return;
  SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
  DestroyWindow(handle_);
  handle_ = nullptr;
}

void TBorderlessForm::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TBorderlessForm::Show() {
  showAsked_ = true;
  if (!held_) ShowWindow(handle_, SW_SHOW);
}

void TBorderlessForm::Hide() {
  showAsked_ = false;
  ShowWindow(handle_, SW_HIDE);
}

void TBorderlessForm::HoldHidden(bool hold) {
  if (hold == held_) return;
  held_ = hold;
  if (held_) {
    ShowWindow(handle_, SW_HIDE);
  } else if (showAsked_) {
    ShowWindow(handle_, SW_SHOWNA);
  }
}

bool TBorderlessForm::Visible() const { return IsWindowVisible(handle_) != FALSE; }

void TBorderlessForm::Close() { SendMessageA(handle_, WM_CLOSE, 0, 0); }

int32_t TBorderlessForm::ClientWidth() const {
  RECT r{};
  GetClientRect(handle_, &r);
  return r.right - r.left;
}

int32_t TBorderlessForm::ClientHeight() const {
  RECT r{};
  GetClientRect(handle_, &r);
  return r.bottom - r.top;
}

bool TBorderlessForm::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK TBorderlessForm::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<TBorderlessForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (form) {
    if (message == WM_CLOSE) {
      bool canClose = true;
      form->FormCloseQuery(canClose);
      if (canClose) form->Hide();
      return 0;
    }
    LRESULT result = 0;
    if (form->HandleMessage(message, wParam, lParam, result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
