// A short unattended tour through the demo's own controls, for machines with
// no one at the screen: open the first playlist entry, play, a scrolling
// message, fast forward, the television test marks, About, then the end of
// the medium. It clicks the form's real buttons, prints one line per step on
// standard output, and before each screenshot waits until the file
// "<folder>\<name>.done" appears (written by whoever takes the screenshot).
// At the end it prints the measured figures and closes the form.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TForm1;

class TDemoTour {
 public:
  TDemoTour(TForm1& form, std::wstring folder);
  ~TDemoTour();
  TDemoTour(const TDemoTour&) = delete;
  TDemoTour& operator=(const TDemoTour&) = delete;
  void Start();

 private:
  struct TStep {
    const char* name;
    std::function<bool()> done;  // polled every tick until true
    DWORD timeoutMs;
  };
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  void Tick();
  void Then(const char* name, std::function<bool()> done, DWORD timeoutMs = 20000);
  void Act(const char* name, std::function<void()> action);
  void Wait(DWORD ms);
  void Shot(const char* name);
  void Click(int id);
  void BuildSteps();
  void Report();

  TForm1& form_;
  std::wstring folder_;
  std::vector<TStep> steps_;
  std::size_t current_ = 0;
  DWORD stepStart_ = 0;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
  // Figures, in milliseconds since the process was created.
  double openClicked_ = -1, playing_ = -1, firstFrame_ = -1;
  uint64_t ticksAtOpen_ = 0;
  double ticksUntil_ = -1;
  uint64_t ticksAtEnd_ = 0;
  std::vector<uint32_t> baseline_;
};
