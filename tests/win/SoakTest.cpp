// A short form of the resource soak: cycles of the registered control beside
// the same MCI commands sent raw. Wine's own MCI keeps a little per open, so
// the control is held against that floor, not against zero.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench/SoakCycles.h"
#include "TestSupport.h"

namespace {

// Open descriptors and resident memory of this Wine process, read from /proc.
Sample Measure() {
  Sample s;
  s.windows = WindowCount();
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA("Z:\\proc\\self\\fd\\*", &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do s.fds += entry.cFileName[0] != '.';
    while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  if (FILE* status = std::fopen("Z:\\proc\\self\\status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, status))
      if (!std::strncmp(line, "VmRSS:", 6)) s.rssKb = std::atol(line + 6);
    std::fclose(status);
  }
  return s;
}

TEST(SoakTest, ControlCyclesLeaveNoMoreBehindThanTheRawDevice) {
  ASSERT_TRUE(Regsvr32(BuildOcxPath()));
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(L"Orvex.Lumivox", &clsid), S_OK);
  const std::string clip = TestDataPath("sample clip.mpg");
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, clip.c_str(), -1, wide, MAX_PATH);
  BSTR name = SysAllocString(wide);
  char shortPath[MAX_PATH] = {};
  GetShortPathNameA(clip.c_str(), shortPath, MAX_PATH);

  Timings control, floor;
  ControlCycle(clsid, name, control);  // Wine's MCI sets up what it keeps
  FloorCycle(shortPath, floor);
  const int cycles = 15;
  Sample growth[2];
  for (int kind = 0; kind < 2; ++kind) {
    const Sample before = Measure();
    for (int i = 0; i < cycles; ++i) kind == 0 ? ControlCycle(clsid, name, control) : FloorCycle(shortPath, floor);
    const Sample after = Measure();
    growth[kind] = {after.fds - before.fds, after.rssKb - before.rssKb, after.windows - before.windows};
  }
  SysFreeString(name);
  EXPECT_EQ(control.failures + floor.failures, 0) << "a cycle did not reach playing";
  EXPECT_EQ(growth[0].windows, 0) << "windows left behind by the control";
  EXPECT_LE(growth[0].fds, growth[1].fds + 3) << "control " << growth[0].fds << ", floor " << growth[1].fds;
  EXPECT_LE(growth[0].rssKb, growth[1].rssKb + 4096 + growth[1].rssKb / 2)
      << "kB: control " << growth[0].rssKb << ", floor " << growth[1].rssKb;
}

}  // namespace
