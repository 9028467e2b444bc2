#include "tests/win/AboutWatch.h"

#include <string>

namespace {

constexpr DWORD kGiveUpMs = 30000;

struct TWatch {
  std::function<bool(HWND)> step;
  DWORD start = GetTickCount();
  bool done = false;
  TAboutRun run;
};
TWatch* watch = nullptr;

BOOL CALLBACK FindAbout(HWND window, LPARAM found) {
  char title[32] = {};
  GetWindowTextA(window, title, sizeof(title));
  if (!IsWindowVisible(window) || std::string(title) != "About Orvex") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK WatchTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!watch) return;
  HWND about = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindAbout, reinterpret_cast<LPARAM>(&about));
  if (!about) return;
  if (!watch->done) {
    watch->run.seen = about;
    watch->done = watch->step(about);
  }
  if (GetTickCount() - watch->start > kGiveUpMs) {
    watch->run.timedOut = true;
    PostMessageA(about, WM_CLOSE, 0, 0);
  }
}

}  // namespace

TAboutRun WhileAboutOpen(std::function<bool(HWND)> step, std::function<void()> showModal) {
  TWatch state;
  state.step = std::move(step);
  TWatch* outer = watch;
  watch = &state;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchTick);
  showModal();
  KillTimer(nullptr, timer);
  watch = outer;
  return state.run;
}
