// AboutOrvex is modal on the calling thread: a test acts on the About box from
// a thread timer that the About box's own message loop dispatches.
#pragma once
#include <windows.h>

#include <functional>

struct TAboutRun {
  HWND seen = nullptr;     // the About window the steps saw, or null
  bool timedOut = false;   // the window was still open after 30 s, and was closed then
};

// Calls showModal, which shows the About box and returns when it is closed.
// Meanwhile step runs every 20 ms with the open About window until it returns true.
TAboutRun WhileAboutOpen(std::function<bool(HWND about)> step, std::function<void()> showModal);

// Closes the About box as soon as it appears.
inline TAboutRun WithAboutClosed(std::function<void()> showModal) {
  return WhileAboutOpen(
      [](HWND about) {
        PostMessageA(about, WM_CLOSE, 0, 0);
        return true;
      },
      std::move(showModal));
}
