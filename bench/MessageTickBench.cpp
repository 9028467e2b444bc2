// Measures the message strip's move tick on the real display: a strip 800
// pixels wide on the television, a message about 3,000 pixels long, speed 990
// (a tick every 10 ms, 100 a second asked for). For the strip as built (label
// rendered once, one-pixel scroll) and for the naive way (the whole strip
// repainted, text laid out, every tick): CPU time and wall time per tick and
// the ticks delivered per second.
//
//   orvex_message_bench.exe [seconds per approach]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchClock.h"
#include "win/GdiHandles.h"
#include "win/GdiValues.h"
#include "win/ModuleInstance.h"
#include "message/UnitMessage.h"

namespace {

const RECT kTelevision{1024, 0, 1824, 600};
constexpr int32_t kSpeed = 990;

struct TFigures {
  double cpuMsPerTick, wallMsPerTick, ticksPerSecond;
  int ticks;
};

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

// Runs the timer's ticks through tick for the given time, timing each one.
template <typename Tick>
TFigures Measure(TWinTimer& timer, DWORD milliseconds, Tick tick) {
  TFigures f{0, 0, 0, 0};
  timer.SetOnTimer([&] {
    const double wall0 = WallMs();
    tick();
    f.wallMsPerTick += WallMs() - wall0;
    ++f.ticks;
  });
  Pump(500);  // settle: the window reaches the screen
  f = TFigures{0, 0, 0, 0};
  // The thread's CPU clock is too coarse for one tick: it is read over the
  // whole run, message loop included.
  const double start = WallMs(), cpu0 = ThreadCpuMs();
  Pump(milliseconds);
  const double elapsed = WallMs() - start;
  f.cpuMsPerTick = ThreadCpuMs() - cpu0;
  timer.SetEnabled(false);
  if (f.ticks) {
    f.cpuMsPerTick /= f.ticks;
    f.wallMsPerTick /= f.ticks;
  }
  f.ticksPerSecond = f.ticks * 1000.0 / elapsed;
  return f;
}

// The naive strip: every tick invalidates all of it, and painting fills the
// background and lays out and draws the whole text at its new place.
class TNaiveStrip {
 public:
  TNaiveStrip(const TMessageRequest& request, int32_t height)
      : text_(request.text), color_(ColorRefOf(request.color)) {
    const LOGFONTW logFont = LogFontOf(request.font);
    font_.Reset(CreateFontIndirectW(&logFont));
    brush_.Reset(CreateSolidBrush(ColorRefOf(request.backgroundColor)));
    EnsureWindowClass("OrvexNaiveStrip", Proc);
    window_ = CreateWindowExA(WS_EX_TOPMOST, "OrvexNaiveStrip", "", WS_POPUP, kTelevision.left,
                              kTelevision.top, kTelevision.right - kTelevision.left, height,
                              nullptr, nullptr, ModuleInstance(), this);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(window_, SW_SHOW);
  }
  ~TNaiveStrip() { DestroyWindow(window_); }
  void Tick() {
    if (--left_ < -20000) left_ = kTelevision.right - kTelevision.left;
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TNaiveStrip*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT client;
      GetClientRect(window, &client);
      FillRect(dc, &client, self->brush_.Get());
      SelectObject(dc, self->font_.Get());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, self->color_);
      RECT r{self->left_, 0, self->left_ + 100000, client.bottom};
      DrawTextA(dc, self->text_.data(), static_cast<int>(self->text_.size()), &r,
                DT_LEFT | DT_EXPANDTABS | DT_NOCLIP);
      EndPaint(window, &ps);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  std::string text_;
  COLORREF color_;
  TGdiObject<HFONT> font_;
  TGdiObject<HBRUSH> brush_;
  HWND window_;
  int32_t left_ = kTelevision.right - kTelevision.left;
};

void Print(const char* label, const TFigures& f) {
  std::printf("%-6s %.4f ms thread CPU per tick (loop included), %.4f ms wall in the handler per tick, %.1f ticks/s of 100 asked (%d ticks)\n",
              label, f.cpuMsPerTick, f.wallMsPerTick, f.ticksPerSecond, f.ticks);
}

}  // namespace

int main(int argc, char** argv) {
  const DWORD milliseconds = (argc > 1 ? std::atoi(argv[1]) : 5) * 1000;
  TMessageRequest request;
  request.color = 0x0000FFFF;  // yellow on blue
  request.backgroundColor = 0x00800000;
  request.speed = kSpeed;
  request.repeat = 0;
  std::string words = "Orvex \xCF\xFB\xCF\xA2 message overlay 0123456789 ";  // 消息 in code page 936
  TFormMessage form;
  do {
    request.text += words;
    form.lblMessage.Setup(request.font, 0, request.text);
  } while (form.lblMessage.Width < 3000);
  form.Display(request, kTelevision);
  std::printf("strip %ld x %d, message %d pixels (%zu characters), tick every %u ms\n",
              kTelevision.right - kTelevision.left, form.lblMessage.Height, form.lblMessage.Width,
              request.text.size(), form.tmrMove.Interval());
  const TFigures ours = Measure(form.tmrMove, milliseconds, [&] { form.tmrMoveTimer(); });
  form.FAllowClose = true;
  form.Close();

  TNaiveStrip naive(request, form.lblMessage.Height);
  TWinTimer naiveTimer(1000 - kSpeed, true);
  const TFigures theirs = Measure(naiveTimer, milliseconds, [&] { naive.Tick(); });
  Print("ours", ours);
  Print("naive", theirs);
  std::printf("ours/naive: CPU %.3f, wall %.3f\n", ours.cpuMsPerTick / theirs.cpuMsPerTick,
              ours.wallMsPerTick / theirs.wallMsPerTick);
  return 0;
}
