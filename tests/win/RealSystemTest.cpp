// The control against the real system: the virtual two-monitor display, real
// MCI playback of a generated clip, real windows read back from the screen.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/win/TestSupport.h"
#include "win/GdiHandles.h"
#include "win/OwnedHandle.h"
#include "control/AwakeRequest.h"
#include "control/LumivoxImpl.h"
#include "control/OutputWindows.h"
#include "video/UnitVideo.h"

namespace {

struct Rgb {
  int r, g, b;
};

Rgb ScreenPixel(int x, int y) {
  const COLORREF c = GetPixel(TWindowDC().Get(), x, y);
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

// Waits until the screen shows the colour at (x, y): windows appear on the X
// display some time after they are shown.
::testing::AssertionResult ScreenShows(int x, int y, Rgb want, int tolerance = 24) {
  Rgb seen{};
  if (PumpUntil(20000, [&] { return Near(seen = ScreenPixel(x, y), want, tolerance); })) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << seen.r << ","
                                       << seen.g << "," << seen.b << " not " << want.r << ","
                                       << want.g << "," << want.b;
}

// The thread's continuous execution state, read through a request without
// ES_CONTINUOUS: that one only resets the idle timers and leaves the state alone.
uint32_t ContinuousState() { return SetThreadExecutionState(ES_SYSTEM_REQUIRED) & kKeepAwake; }

class RealSystemTest : public ::testing::Test {
 protected:
  TLumivox control;
  void TearDown() override { control.CloseControl(); }
};

}  // namespace

TEST_F(RealSystemTest, InitializePlacesTheVideoWindowOnTheSecondMonitor) {
  ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the virtual two-monitor display";
  ASSERT_TRUE(control.Initialize());
  RECT r{};
  GetWindowRect(FormVideo()->Handle(), &r);
  EXPECT_EQ(r.left, 1024);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1824);
  EXPECT_EQ(r.bottom, 600);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoA(MonitorFromWindow(FormVideo()->Handle(), MONITOR_DEFAULTTONULL), &info);
  EXPECT_EQ(info.rcMonitor.left, 1024);

  SendMessageA(FormVideo()->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageA(FormVideo()->Handle(), WM_CLOSE, 0, 0);
  PumpFor(100);
  EXPECT_TRUE(IsWindowVisible(FormVideo()->Handle())) << "close requests are refused";
}

TEST_F(RealSystemTest, LogosAreStretchedOverThePanelAndMarksDrawnOnTop) {
  const std::string folder = MakeTempFolder("orvex real logo");
  const std::string written = folder + "\\logo.jpg";
  // A logo whose name the code page cannot write.
  const std::wstring jpeg = AnsiToWide(folder) + L"\\\uc601\ud654 \u00df.jpg";
  const std::string bmp = folder + "\\logo.bmp";
  WriteFileBytes(written, QuadrantJpegFile(320, 240));
  ASSERT_TRUE(MoveFileW(AnsiToWide(written).c_str(), jpeg.c_str()));
  WriteFileBytes(bmp, QuadrantBitmapFile(320, 240));
  control.SetLogo(jpeg);
  ASSERT_TRUE(control.Initialize());
  // Quadrant centres of the 798 x 598 area inside the bevel, in screen terms.
  const int x0 = 1024 + 1, y0 = 1;
  EXPECT_TRUE(ScreenShows(x0 + 200, y0 + 150, {255, 0, 0}));
  EXPECT_TRUE(ScreenShows(x0 + 600, y0 + 150, {0, 255, 0}));
  EXPECT_TRUE(ScreenShows(x0 + 200, y0 + 450, {0, 0, 255}));
  EXPECT_TRUE(ScreenShows(x0 + 600, y0 + 450, {255, 255, 0}));
  // Stretched to the edges: the last pixel inside the bevel belongs to the logo.
  EXPECT_TRUE(ScreenShows(x0 + 797, y0 + 596, {255, 255, 0}, 40));

  control.SetLogo(AnsiToWide(bmp));
  control.TVTest();
  EXPECT_TRUE(ScreenShows(1024 + 30, 30, {255, 0, 0}, 0));
  EXPECT_TRUE(ScreenShows(1024 + 770, 30, {255, 0, 0}, 0));
  EXPECT_TRUE(ScreenShows(1024 + 770, 570, {255, 0, 0}, 0));
  EXPECT_TRUE(ScreenShows(1024 + 30, 570, {255, 0, 0}, 0));
  EXPECT_TRUE(ScreenShows(1024 + 59, 59, {255, 0, 0}, 0));
  // Just outside the marks the bitmap logo shows, exactly.
  EXPECT_TRUE(ScreenShows(1024 + 61, 61, {255, 0, 0}, 0));
  EXPECT_TRUE(ScreenShows(1024 + 739, 61, {0, 255, 0}, 0));
  EXPECT_TRUE(ScreenShows(1024 + 61, 538, {0, 0, 255}, 0));
  EXPECT_TRUE(ScreenShows(1024 + 739, 538, {255, 255, 0}, 0));

  control.SetLogo(L"");
  const Rgb panel{GetRValue(GetSysColor(COLOR_GRADIENTACTIVECAPTION)),
                  GetGValue(GetSysColor(COLOR_GRADIENTACTIVECAPTION)),
                  GetBValue(GetSysColor(COLOR_GRADIENTACTIVECAPTION))};
  EXPECT_TRUE(ScreenShows(1024 + 200, 100, panel, 0)) << "no logo: the panel colour shows";
  DeleteFileW(jpeg.c_str());
  DeleteFileA(bmp.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(RealSystemTest, CursorOnTheTelevisionIsPutBack) {
  SetCursorPos(1500, 300);
  POINT p{};
  EXPECT_TRUE(PumpUntil(2000, [&] {
    GetCursorPos(&p);
    return p.x == 1024 && p.y == 300;
  })) << "cursor at " << p.x << "," << p.y;
  // The display count is back where it was: the cursor is shown.
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  GetCursorInfo(&info);
  EXPECT_TRUE(info.flags & CURSOR_SHOWING);
}

TEST_F(RealSystemTest, ClipPlaysPausesSeeksStopsAndCloses) {
  ASSERT_TRUE(control.Initialize());
  control.SetFileName(AnsiToWide(TestDataPath("sample clip.mpg")));
  ASSERT_TRUE(control.Open());
  EXPECT_NE(GetWindow(FormVideo()->pnlVideo.Handle(), GW_CHILD), nullptr)
      << "the device's picture window lives in the video panel";
  EXPECT_GT(control.MediaLength(), 3000);
  EXPECT_LT(control.MediaLength(), 5000);
  EXPECT_TRUE(PumpUntil(10000, [&] {
    return control.MediaStatus() == sPlaying && control.MediaPosition() > 300;
  })) << "status " << control.MediaStatus() << " position " << control.MediaPosition();
  EXPECT_EQ(ContinuousState(), kKeepAwake) << "displays kept on while playing";

  control.SetMediaPosition(2500);
  EXPECT_TRUE(PumpUntil(5000, [&] {
    return control.MediaStatus() == sPlaying && control.MediaPosition() >= 2500;
  })) << "a seek while playing keeps playing; status " << control.MediaStatus();

  control.Pause();
  ASSERT_TRUE(PumpUntil(5000, [&] { return control.MediaStatus() == sPaused; }));
  EXPECT_EQ(ContinuousState(), uint32_t{ES_CONTINUOUS}) << "withdrawn when paused";
  const int32_t pausedAt = control.MediaPosition();
  PumpFor(300);
  EXPECT_LE(std::abs(control.MediaPosition() - pausedAt), 40) << "paused media stands still";

  control.SetMediaPosition(1000);
  EXPECT_TRUE(PumpUntil(5000, [&] {
    return control.MediaStatus() == sPaused && std::abs(control.MediaPosition() - 1000) < 300;
  })) << "a seek while paused stays paused; status " << control.MediaStatus() << " position "
      << control.MediaPosition();
  PumpFor(300);
  EXPECT_EQ(control.MediaStatus(), sPaused);

  control.Stop();
  EXPECT_TRUE(PumpUntil(5000, [&] { return control.MediaStatus() == sStopped; }));

  control.Close();
  EXPECT_EQ(control.MediaLength(), 0);
  EXPECT_EQ(control.MediaRate(), 0);
  EXPECT_EQ(control.MediaPosition(), 0);
  EXPECT_TRUE(PumpUntil(2000, [&] { return control.MediaStatus() == sNotReady; }));
}

// What the field meets: names that are no disk file fail at once like a
// missing file, a file whose name the code page cannot write opens, and a seek
// past the end leaves the device answering the seeks that follow.
TEST_F(RealSystemTest, HostileNamesFailAtOnceAndSeeksPastTheEndKeepTheDeviceAnswering) {
  ASSERT_TRUE(control.Initialize());
  const std::wstring folder = AnsiToWide(MakeTempFolder("orvex names"));
  const std::wstring clip = folder + L"\\\uc601\ud654 \u00df \U0001F3AC.mpg";
  ASSERT_TRUE(CopyFileW(AnsiToWide(TestDataPath("sample clip.mpg")).c_str(), clip.c_str(), FALSE));
  const TKernelHandle pipe(CreateNamedPipeW(L"\\\\.\\pipe\\orvex-clip", PIPE_ACCESS_INBOUND, 0, 1,
                                            0, 0, 0, nullptr));
  const struct {
    std::wstring name;
    bool opens;
  } names[] = {{L"COM1", false},           {folder + L"\\COM1.mpg", false},
               {L"NUL", false},            {L"\\\\.\\pipe\\orvex-clip", false},
               {folder, false},            {clip, true}};
  for (const auto& c : names) {
    control.SetFileName(c.name);
    const DWORD start = GetTickCount();
    EXPECT_EQ(control.Open(), c.opens) << WideToUtf8(c.name);
    const DWORD took = GetTickCount() - start;
    if (!c.opens) EXPECT_LT(took, 2000u) << WideToUtf8(c.name);
    std::printf("Open(%s): %lu ms\n", WideToUtf8(c.name).c_str(), static_cast<unsigned long>(took));
    EXPECT_EQ(control.FileName(), c.name);
  }

  ASSERT_TRUE(PumpUntil(10000, [&] { return control.MediaStatus() == sPlaying; }));
  const int32_t length = control.MediaLength();
  for (const int32_t past : {length + 1, length + 5000, INT32_MAX}) {
    control.SetMediaPosition(past);
    PumpFor(300);
    const DWORD start = GetTickCount();
    control.SetMediaPosition(1000);
    const DWORD took = GetTickCount() - start;
    EXPECT_LT(took, 2000u) << past;
    std::printf("seek to %ld, then back: %lu ms\n", static_cast<long>(past),
                static_cast<unsigned long>(took));
    EXPECT_TRUE(PumpUntil(5000, [&] {
      return control.MediaPosition() >= 1000 && control.MediaPosition() < 2500;
    })) << "after a seek to " << past << " the position is " << control.MediaPosition();
  }
  control.Close();
  DeleteFileW(clip.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(RealSystemTest, DigitalVideoIsRefusedAndMpegVideoAcceptsTheClip) {
  char shortPath[MAX_PATH] = {};
  GetShortPathNameA(TestDataPath("sample clip.mpg").c_str(), shortPath, MAX_PATH);
  ASSERT_NE(shortPath[0], 0);
  const std::string tail = std::string(" alias probe wait");
  EXPECT_NE(mciSendStringA(("open " + std::string(shortPath) + " type digitalvideo" + tail).c_str(),
                           nullptr, 0, nullptr),
            0u);
  EXPECT_EQ(mciSendStringA(("open " + std::string(shortPath) + " type MPEGVideo" + tail).c_str(),
                           nullptr, 0, nullptr),
            0u);
  mciSendStringA("close probe", nullptr, 0, nullptr);
}
