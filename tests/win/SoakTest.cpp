// A short form of the resource soak: cycles of the registered control beside
// the same MCI commands sent raw. Wine's own MCI keeps a little per open, so
// the control is held against that floor, not against zero.
#include <gtest/gtest.h>
#include <windows.h>

#include "bench/SoakCycles.h"
#include "tests/win/TestSupport.h"

namespace {

TEST(SoakTest, ControlCyclesLeaveNoMoreBehindThanTheRawDevice) {
  ASSERT_TRUE(Regsvr32(BuildOcxPath()));
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(L"Orvex.Lumivox", &clsid), S_OK);
  const std::string clip = TestDataPath("sample clip.mpg");
  const TBstr name(AnsiToWide(clip));
  char shortPath[MAX_PATH] = {};
  GetShortPathNameA(clip.c_str(), shortPath, MAX_PATH);

  const std::string proc = OwnProcFolder();
  ASSERT_FALSE(proc.empty()) << "this process's folder under /proc";
  Timings control, floor;
  ControlCycle(clsid, name.Get(), control);  // Wine's MCI sets up what it keeps
  FloorCycle(shortPath, floor);
  const int cycles = 15;
  TProcessUsage growth[2];
  for (int kind = 0; kind < 2; ++kind) {
    const TProcessUsage before = ProcessUsage(proc);
    for (int i = 0; i < cycles; ++i) kind == 0 ? ControlCycle(clsid, name.Get(), control) : FloorCycle(shortPath, floor);
    const TProcessUsage after = ProcessUsage(proc);
    growth[kind] = {after.windows - before.windows, after.fds - before.fds, after.rssKb - before.rssKb};
  }
  EXPECT_EQ(control.failures + floor.failures, 0) << "a cycle did not reach playing";
  EXPECT_EQ(growth[0].windows, 0) << "windows left behind by the control";
  EXPECT_LE(growth[0].fds, growth[1].fds + 3) << "control " << growth[0].fds << ", floor " << growth[1].fds;
  EXPECT_LE(growth[0].rssKb, growth[1].rssKb + 4096 + growth[1].rssKb / 2)
      << "kB: control " << growth[0].rssKb << ", floor " << growth[1].rssKb;
}

}  // namespace
