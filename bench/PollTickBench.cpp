// Measures one tick of the status poller and mouse guard (monitor list read
// and compared with the last layout, cursor read, two MCI status queries) on the real system: CPU time of this thread and
// wall time per tick, with no media open and with a clip playing.
//
//   orvex_poll_bench.exe <media file> [ticks]
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>

#include "bench/BenchClock.h"
#include "control/LumivoxImpl.h"
#include "control/OutputWindows.h"

namespace {

void Measure(TLumivox& control, const char* label, int ticks) {
  control.tmrMouseTimer();  // warm up
  const double cpu0 = ThreadCpuMs();
  const double wall0 = WallMs();
  for (int i = 0; i < ticks; ++i) control.tmrMouseTimer();
  const double cpu = (ThreadCpuMs() - cpu0) / ticks;
  const double wall = (WallMs() - wall0) / ticks;
  std::printf("poll tick, %s: %.4f ms CPU, %.4f ms wall (%d ticks; status %d, position %d)\n",
              label, cpu, wall, ticks, control.MediaStatus(), control.MediaPosition());
}

// The operating system's share of a tick, call by call.
template <typename Call>
void MeasureCall(const char* label, int ticks, Call call) {
  const double cpu0 = ThreadCpuMs();
  for (int i = 0; i < ticks; ++i) call();
  std::printf("  %s: %.4f ms CPU\n", label, (ThreadCpuMs() - cpu0) / ticks);
}

void MeasureSystemCalls(int ticks) {
  TSystemServices& os = RealSystem();
  char reply[128];
  MeasureCall("monitor list", ticks, [&] { os.Monitors(); });
  MeasureCall("monitor list and layout check", ticks,
              [&] { OutputWindows().Follow(os.Monitors()); });
  MeasureCall("cursor position", ticks, [&] { os.CursorPos(); });
  MeasureCall("status movie mode", ticks, [&] { os.SendMciString("status movie mode", reply, 128); });
  MeasureCall("status movie position", ticks,
              [&] { os.SendMciString("status movie position", reply, 128); });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: orvex_poll_bench.exe <media file> [ticks]\n");
    return 2;
  }
  const int ticks = argc > 2 ? std::atoi(argv[2]) : 5000;
  OleInitialize(nullptr);
  int result = 0;
  {
    TLumivox control;
    // CloseControl stops tmrMouse for good (Initialize does not restart it):
    // ticks are driven by the loop below.
    control.CloseControl();
    Measure(control, "no media open", ticks);
    MeasureSystemCalls(ticks);
    control.SetFileName(AnsiToWide(argv[1]));
    if (control.Initialize() && control.Open()) {
      Measure(control, "clip playing", ticks);
      MeasureSystemCalls(ticks);
    } else {
      std::fprintf(stderr, "could not open %s\n", argv[1]);
      result = 1;
    }
    control.CloseControl();
  }
  OleUninitialize();
  return result;
}
