#include "demo/DemoTour.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>

#include "demo/DemoForm.h"
#include "demo/ScreenCapture.h"

namespace {

TDemoTour* g_tour = nullptr;

// Milliseconds since this process was created.
double SinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::printf("tour: ");
  std::vprintf(format, args);
  std::printf("\n");
  std::fflush(stdout);
  va_end(args);
}

// Where the picture starts on the television: the top left of the second
// monitor, inside the video window's bevel.
// Where the picture starts on the television: the top left of the second
// monitor, inside the video window's bevel.
RECT PictureArea() {
  const RECT tv = TelevisionMonitor();
  return {tv.left + 16, tv.top + 16, tv.left + 16 + 288, tv.top + 16 + 208};
}

bool Uniform(const std::vector<uint32_t>& pixels) {
  for (uint32_t p : pixels) {
    if (p != pixels.front()) return false;
  }
  return true;
}

// The About window, while it is open on this thread.
BOOL CALLBACK KeepAbout(HWND window, LPARAM data) {
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (IsWindowVisible(window) && wcscmp(title, L"About Orvex") == 0) {
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindAbout() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), KeepAbout, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

TDemoTour::TDemoTour(TForm1& form, std::wstring folder) : form_(form), folder_(std::move(folder)) {}

TDemoTour::~TDemoTour() {
  if (timer_) KillTimer(nullptr, timer_);
  if (g_tour == this) g_tour = nullptr;
}

void TDemoTour::Start() {
  BuildSteps();
  g_tour = this;
  stepStart_ = GetTickCount();
  Say("ready after %.0f ms", SinceProcessStart());
  timer_ = SetTimer(nullptr, 0, 50, TimerProc);
}

void CALLBACK TDemoTour::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (g_tour) g_tour->Tick();
}

// One step at a time; a nested message loop (a dialog) must not re-enter a step.
void TDemoTour::Tick() {
  if (busy_ || current_ >= steps_.size()) return;
  busy_ = true;
  TStep& step = steps_[current_];
  const bool done = step.done();
  if (done || GetTickCount() - stepStart_ >= step.timeoutMs) {
    if (!done) Say("%s: gave up after %lu ms", step.name, step.timeoutMs);
    ++current_;
    stepStart_ = GetTickCount();
  }
  busy_ = false;
}

void TDemoTour::Then(const char* name, std::function<bool()> done, DWORD timeoutMs) {
  steps_.push_back({name, std::move(done), timeoutMs});
}

void TDemoTour::Act(const char* name, std::function<void()> action) {
  Then(name, [name, action] {
    Say("%s", name);
    action();
    return true;
  });
}

void TDemoTour::Wait(DWORD ms) {
  Then("wait", [this, ms] { return GetTickCount() - stepStart_ >= ms; }, ms + 1000);
}

// Announces a screenshot and waits (up to 20 s) until it has been taken.
void TDemoTour::Shot(const char* name) {
  const std::wstring done = folder_ + L"\\" + std::wstring(name, name + strlen(name)) + L".done";
  Then("shot", [name, done] {
    DeleteFileW(done.c_str());
    Say("shot %s", name);
    return true;
  });
  Then("screenshot", [done] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

// A click on a form button, posted: a handler that opens a dialog runs in
// the form's own loop, not inside the tour's step.
void TDemoTour::Click(int id) {
  PostMessageW(form_.Item(id), BM_CLICK, 0, 0);
}

void TDemoTour::BuildSteps() {
  const RECT picture = PictureArea();
  Act("open the first playlist entry", [this, picture] {
    SendMessageW(form_.Item(idLstFiles), LB_SETCURSEL, 0, 0);
    baseline_ = CaptureScreen(picture);
    ticksAtOpen_ = form_.StatusTicks();
    openClicked_ = SinceProcessStart();
    Click(idCmdOpen);
  });
  Then("playing with the first frame on the television", [this, picture] {
    if (playing_ < 0 && form_.PanelText(2) == L"状态：播放") playing_ = SinceProcessStart();
    if (firstFrame_ < 0) {
      const std::vector<uint32_t> now = CaptureScreen(picture);
      if (now != baseline_ && !Uniform(now)) {
        firstFrame_ = SinceProcessStart();
        Say("first frame on the television");
      }
    }
    return playing_ >= 0 && firstFrame_ >= 0;
  });
  Shot("1-playing");
  Wait(1000);
  Shot("2-playing-1s-later");
  Act("show the message", [this] { Click(idCmdDisplayMessage); });
  Wait(1500);
  Shot("3-message");
  Act("show the message on an opaque strip", [this] {
    CheckDlgButton(form_.Handle(), idChkTransparent,
                   IsDlgButtonChecked(form_.Handle(), idChkTransparent) == BST_CHECKED ? BST_UNCHECKED
                                                                                    : BST_CHECKED);
    Click(idCmdDisplayMessage);
  });
  Wait(1500);
  Shot("3-message-toggled");
  Act("fast forward", [this] { Click(idCmdFastforward); });
  Wait(500);
  Shot("4-fastforward");
  Then("the clip plays to its end", [this] {
    const std::wstring state = form_.PanelText(2);
    if (state != L"状态：停止" && state != L"状态：未就绪") return false;
    ticksUntil_ = SinceProcessStart();
    ticksAtEnd_ = form_.StatusTicks();
    return true;
  }, 60000);
  Wait(1000);
  // The status timer closes a medium stopped at its length. A device that
  // reports another position at its end leaves it open: close it by hand.
  Act("close the medium", [this] {
    if (form_.PanelText(2) != L"状态：未就绪") {
      LONG position = 0, length = 0;
      form_.Control()->get_MediaPosition(&position);
      form_.Control()->get_MediaLength(&length);
      Say("the device stopped at position %ld of length %ld; closing by hand", position, length);
      Click(idCmdClose);
    } else {
      Say("the status timer closed the medium at its end");
    }
  });
  Wait(1000);
  Shot("5-ended");
  Act("television test marks", [this] { form_.Control()->TVTest(); });
  Wait(500);
  Shot("6-tvtest");
  Act("about", [this] { Click(idCmdAbout); });
  Then("about box", [] { return FindAbout() != nullptr; }, 5000);
  Shot("7-about");
  Then("close the about box", [] {
    if (HWND about = FindAbout()) PostMessageW(about, WM_CLOSE, 0, 0);
    return FindAbout() == nullptr;
  }, 5000);
  Act("figures", [this] { Report(); });
  Act("close the window", [this] { PostMessageW(form_.Handle(), WM_CLOSE, 0, 0); });
}

void TDemoTour::Report() {
  if (firstFrame_ >= 0) Say("figure: program start to first frame on the television: %.0f ms", firstFrame_);
  if (playing_ >= 0)
    Say("figure: open clicked to status playing: %.0f ms", playing_ - openClicked_);
  if (ticksUntil_ > openClicked_) {
    const double seconds = (ticksUntil_ - openClicked_) / 1000.0;
    Say("figure: status timer: %llu ticks in %.1f s = %.1f per second (nominal 20)",
        static_cast<unsigned long long>(ticksAtEnd_ - ticksAtOpen_), seconds,
        static_cast<double>(ticksAtEnd_ - ticksAtOpen_) / seconds);
  }
}
