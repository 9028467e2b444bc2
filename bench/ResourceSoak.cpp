// Resource soak: what a long-running station does to the process, the control
// side by side with the floor, a plain program sending the same MCI commands
// into a window of its own.
//
//   control cycle: create "Orvex.Lumivox" through COM, Initialize, FileName,
//                  Open, wait until MediaStatus reads playing, DisplayMessage,
//                  Close, CloseControl, release
//   floor cycle:   create a window, the same MCI commands (close, open as
//                  digitalvideo then MPEGVideo with the window as parent, put
//                  window, length, rate, audio, channel, play, poll mode and
//                  position every 50 ms until playing, close), destroy it
//
// Usage: orvex_soak_bench <clip> <cycles> [creates] [messages]
// Runs the cycles in alternating blocks of 50 (so a change of the machine's
// speed falls on both alike), then <creates> create/release pairs and
// <messages> DisplayMessage runs on one instance. At each block's edges it
// prints "sample" and reads back "<open descriptors> <resident kB>", which
// bench/soak.sh measures from outside through /proc (Wine's own resource
// counts are stubs); the window count comes from inside. It prints the growth
// per cycle and the cycle times.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "bench/SoakCycles.h"
#include "control/MciCommands.h"

namespace {

Sample Take() {
  Sample s;
  s.windows = WindowCount();
  std::printf("sample\n");
  std::fflush(stdout);
  char line[128] = {};
  if (std::fgets(line, sizeof line, stdin)) std::sscanf(line, "%ld %ld", &s.fds, &s.rssKb);
  return s;
}

void AddGrowth(Sample& into, const Sample& before, const Sample& after) {
  into.fds += after.fds - before.fds;
  into.rssKb += after.rssKb - before.rssKb;
  into.windows += after.windows - before.windows;
}

void Report(const char* name, const Timings& t) {
  const double n = t.cycles ? double(t.cycles) : 1;
  std::printf("%-8s %6ld cycles  %7.3f s/cycle  (windows %6.3f s, open to playing %6.3f s)  per cycle: %+7.3f fds  %+8.1f kB  "
              "%+6.3f windows  failures %ld\n",
              name, t.cycles, t.total / n, t.windows / n, t.starting / n, t.growth.fds / n, t.growth.rssKb / n,
              t.growth.windows / n, t.failures);
}

// Runs a repeated step between two samples and prints what it left behind.
void Flat(const char* name, long count, const std::function<void()>& step) {
  if (count <= 0) return;
  step();  // the first one may set up what stays for the module's life
  const Sample before = Take();
  const double start = Now();
  for (long i = 0; i < count; ++i) step();
  const double taken = Now() - start;
  const Sample after = Take();
  std::printf("%-8s %6ld runs  %8.1f us each  growth: %+ld fds  %+ld kB  %+ld windows\n", name,
              count, taken * 1e6 / count, after.fds - before.fds, after.rssKb - before.rssKb,
              after.windows - before.windows);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: orvex_soak_bench <clip> <cycles> [creates] [messages]\n");
    return 2;
  }
  const long cycles = std::atol(argv[2]);
  const long creates = argc > 3 ? std::atol(argv[3]) : 0;
  const long messages = argc > 4 ? std::atol(argv[4]) : 0;
  if (FAILED(OleInitialize(nullptr))) return 1;

  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(L"Orvex.Lumivox", &clsid);
  if (FAILED(hr)) {
    std::printf("soak: Orvex.Lumivox is not registered: 0x%08lX\n", static_cast<unsigned long>(hr));
    return 1;
  }
  const TBstr clip(AnsiToWide(argv[1]));
  char shortPath[mci::kShortPathSize + 1] = {};
  GetShortPathNameA(argv[1], shortPath, mci::kShortPathSize);

  // One of each first: Wine's MCI and GStreamer set up what they keep.
  Timings control, floor;
  ControlCycle(clsid, clip.Get(), control);
  FloorCycle(shortPath, floor);
  control = floor = Timings{};

  const long block = 50;
  for (long done = 0; done < cycles; done += block) {
    const long n = std::min(block, cycles - done);
    for (int kind = 0; kind < 2; ++kind) {
      Timings& t = kind == 0 ? control : floor;
      const Sample before = Take();
      for (long i = 0; i < n; ++i) kind == 0 ? ControlCycle(clsid, clip.Get(), t) : FloorCycle(shortPath, t);
      AddGrowth(t.growth, before, Take());
    }
    std::fprintf(stderr, "soak: %ld of %ld cycles\n", done + n, cycles);
  }
  if (cycles > 0) {
    Report("control", control);
    Report("floor", floor);
  }

  Flat("create", creates, [&] { NewLumivox(clsid).Reset(); });
  // Messages over a playing clip, as on a station.
  ComPtr<ILumivox> one = NewLumivox(clsid);
  VARIANT_BOOL ok = VARIANT_FALSE;
  one->Initialize(&ok);
  one->put_FileName(clip.Get());
  one->Open(&ok);
  one->put_Message(TBstr(L"Soak \x6D4B\x8BD5 message").Get());
  one->put_MsgRepeat(1);
  Flat("message", messages, [&] {
    one->DisplayMessage();
    Pump();
  });
  one->Close();
  one->CloseControl();
  one.Reset();
  OleUninitialize();
  return control.failures + floor.failures ? 1 : 0;
}
