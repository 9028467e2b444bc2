#include "win/WinTimer.h"

#include <map>
#include <set>

#include "win/ExclusiveLock.h"
#include "win/ModuleInstance.h"

namespace {
const char kTimerWindowClass[] = "OrvexTimerWindow";
// Posted to a timer window whose last timer ended on another thread: only
// the window's own thread may destroy it.
constexpr UINT kCloseTimerWindow = WM_APP + 1;

// Objects live on any single-threaded apartment, and a window timer fires only
// on the thread that owns its window, so each thread that makes timers gets a
// message-only window of its own, made with its first timer and destroyed
// with its last.
struct TTimerWindow {
  HWND window = nullptr;
  int timers = 0;
};

// Guards the two tables below, which timers on every thread share.
SRWLOCK tablesGuard = SRWLOCK_INIT;

// Timers alive now: a WM_TIMER already queued for a destroyed timer is dropped.
std::set<TWinTimer*>& LiveTimers() {
  static std::set<TWinTimer*> timers;
  return timers;
}

// The timer window of each thread that has timers, by thread.
std::map<DWORD, TTimerWindow>& TimerWindows() {
  static std::map<DWORD, TTimerWindow> windows;
  return windows;
}

void DestroyTimerWindow(HWND window) {
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    DestroyWindow(window);
  } else {
    PostMessageA(window, kCloseTimerWindow, 0, 0);
  }
}
}  // namespace

TWinTimer::TWinTimer(uint32_t interval, bool enabled, std::function<void()> onTimer)
    : interval_(interval), enabled_(enabled), onTimer_(std::move(onTimer)) {
  window_ = AcquireThreadWindow();
  {
    const TExclusiveLock lock(tablesGuard);
    LiveTimers().insert(this);
  }
  Update();
}

TWinTimer::~TWinTimer() {
  {
    const TExclusiveLock lock(tablesGuard);
    LiveTimers().erase(this);
  }
  if (running_) KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
  ReleaseThreadWindow(window_);
}

bool TWinTimer::ReleaseTimerWindow() {
  std::map<DWORD, TTimerWindow> left;
  {
    const TExclusiveLock lock(tablesGuard);
    if (!LiveTimers().empty()) return false;
    left.swap(TimerWindows());
  }
  for (const auto& entry : left) {
    if (entry.second.window) DestroyTimerWindow(entry.second.window);
  }
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
  const UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
  if (running_) {
    KillTimer(window_, id);
    running_ = false;
  }
  if (enabled_ && interval_ > 0 && window_) {
    running_ = SetTimer(window_, id, interval_, nullptr) != 0;
  }
}

LRESULT CALLBACK TWinTimer::WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) {
  if (message == WM_TIMER) {
    auto* timer = reinterpret_cast<TWinTimer*>(wParam);
    bool live = false;
    {
      const TExclusiveLock lock(tablesGuard);
      live = LiveTimers().count(timer) != 0;
    }
    if (live && timer->running_ && timer->onTimer_) timer->onTimer_();
    return 0;
  }
  if (message == kCloseTimerWindow) {
    DestroyWindow(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND TWinTimer::AcquireThreadWindow() {
  EnsureWindowClass(kTimerWindowClass, WindowProc);
  const TExclusiveLock lock(tablesGuard);
  TTimerWindow& entry = TimerWindows()[GetCurrentThreadId()];
  // A thread that ended took its window along; its number may come again.
  if (entry.window && !IsWindow(entry.window)) entry = TTimerWindow{};
  if (!entry.window) {
    entry.window = CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ModuleInstance(), nullptr);
  }
  if (entry.window) ++entry.timers;
  return entry.window;
}

void TWinTimer::ReleaseThreadWindow(HWND window) {
  if (!window) return;
  {
    const TExclusiveLock lock(tablesGuard);
    auto& windows = TimerWindows();
    auto it = windows.begin();
    while (it != windows.end() && it->second.window != window) ++it;
    if (it == windows.end() || --it->second.timers > 0) return;
    windows.erase(it);
  }
  DestroyTimerWindow(window);
}
