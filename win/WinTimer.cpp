#include "win/WinTimer.h"

#include <set>

#include "win/ModuleInstance.h"

namespace {
const char kTimerWindowClass[] = "OrvexTimerWindow";

// Timers alive now: a WM_TIMER already queued for a destroyed timer is dropped.
std::set<TWinTimer*>& LiveTimers() {
  static std::set<TWinTimer*> timers;
  return timers;
}

// The window carrying the timers. It lives as long as the module is in use,
// so that creating an instance after the last one went costs no new window;
// ReleaseTimerWindow takes it down before the library is unloaded.
HWND sharedWindow = nullptr;
}  // namespace

TWinTimer::TWinTimer(uint32_t interval, bool enabled, std::function<void()> onTimer)
    : interval_(interval), enabled_(enabled), onTimer_(std::move(onTimer)) {
  LiveTimers().insert(this);
  Update();
}

TWinTimer::~TWinTimer() {
  LiveTimers().erase(this);
  if (running_) KillTimer(sharedWindow, reinterpret_cast<UINT_PTR>(this));
}

bool TWinTimer::ReleaseTimerWindow() {
  if (!LiveTimers().empty()) return false;
  if (sharedWindow) DestroyWindow(sharedWindow);
  sharedWindow = nullptr;
  return true;
}

void TWinTimer::SetInterval(uint32_t interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void TWinTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

// The timer's identifier is its own address, so WM_TIMER finds it directly.
void TWinTimer::Update() {
  HWND window = SharedWindow();
  const UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
  if (running_) {
    KillTimer(window, id);
    running_ = false;
  }
  if (enabled_ && interval_ > 0 && window) {
    running_ = SetTimer(window, id, interval_, nullptr) != 0;
  }
}

LRESULT CALLBACK TWinTimer::WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) {
  if (message == WM_TIMER) {
    auto* timer = reinterpret_cast<TWinTimer*>(wParam);
    if (LiveTimers().count(timer) && timer->running_ && timer->onTimer_) timer->onTimer_();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// One message-only window per module carries every timer; made on first use.
HWND TWinTimer::SharedWindow() {
  if (sharedWindow) return sharedWindow;
  EnsureWindowClass(kTimerWindowClass, WindowProc);
  sharedWindow = CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 ModuleInstance(), nullptr);
  return sharedWindow;
}
