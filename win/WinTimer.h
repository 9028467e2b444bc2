// A window timer with an interval, an enabled flag and a handler, fired through
// the message loop of the thread that made it (each thread with timers has a
// timer window of its own). Interval 0 never fires; enabling the timer or
// changing its interval restarts its count; setting the state or interval it
// already has changes nothing.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

class TWinTimer {
 public:
  TWinTimer(uint32_t interval, bool enabled, std::function<void()> onTimer = {});
  ~TWinTimer();
  TWinTimer(const TWinTimer&) = delete;
  TWinTimer& operator=(const TWinTimer&) = delete;

  uint32_t Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }
  void SetInterval(uint32_t interval);
  void SetEnabled(bool enabled);
  void SetOnTimer(std::function<void()> onTimer) { onTimer_ = std::move(onTimer); }

  // Destroys what is left of the timer windows when no timer is left; false
  // (and nothing done) while one exists. Called before the library is unloaded.
  static bool ReleaseTimerWindow();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The calling thread's timer window, made with its first timer; counted.
  static HWND AcquireThreadWindow();
  // Destroys a thread's timer window with its last timer.
  static void ReleaseThreadWindow(HWND window);
  void Update();

  uint32_t interval_;
  bool enabled_;
  bool running_ = false;
  HWND window_ = nullptr;
  std::function<void()> onTimer_;
};
