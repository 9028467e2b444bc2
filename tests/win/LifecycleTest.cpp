#include <memory>

#include "tests/win/ControlFixture.h"
#include "tests/win/TestSupport.h"
#include "message/UnitMessage.h"

using Strings = std::vector<std::string>;

TEST_F(ControlTest, SingleMonitorInitializeHidesTheSurfaceAndSendsNothing) {
  os.monitors.resize(1);
  PollReporting("playing", "9");
  os.Clear();
  EXPECT_FALSE(control.Initialize());
  EXPECT_FALSE(control.SurfaceVisible());
  EXPECT_TRUE(os.mci.empty());
  EXPECT_EQ(FormVideo(), nullptr);
  EXPECT_EQ(FormMessage(), nullptr);
  EXPECT_EQ(control.MediaPosition(), 0);
  EXPECT_EQ(control.MediaStatus(), sNotReady);
}

TEST_F(ControlTest, InitializePlacesTheVideoWindowRightOfMonitorZero) {
  // Monitor 1 is deliberately not where the rule puts the window: the rule
  // uses monitor 0's width and monitor 1's size only.
  os.monitors = {{0, 0, 1024, 768}, {1024, 100, 1824, 700}};
  ASSERT_TRUE(control.Initialize());
  EXPECT_EQ(os.mci, (Strings{"close movie"}));
  ASSERT_NE(FormVideo(), nullptr);
  ASSERT_NE(FormMessage(), nullptr);
  RECT r{};
  GetWindowRect(FormVideo()->Handle(), &r);
  EXPECT_EQ(r.left, 1024);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 800);
  EXPECT_EQ(r.bottom - r.top, 600);
  EXPECT_TRUE(FormVideo()->Visible());
  EXPECT_FALSE(FormMessage()->Visible());
  EXPECT_FALSE(FormVideo()->FAllowClose);
  const LONG style = GetWindowLongA(FormVideo()->Handle(), GWL_STYLE);
  const LONG exStyle = GetWindowLongA(FormVideo()->Handle(), GWL_EXSTYLE);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU)) << "borderless";
  EXPECT_FALSE(exStyle & WS_EX_TOPMOST) << "ordinary stacking order";
  EXPECT_EQ(GetWindow(FormVideo()->Handle(), GW_OWNER), nullptr) << "no owner";
  EXPECT_EQ(FormVideo()->pnlVideo.ClientWidth(), 800) << "the panel fills the client area";
}

TEST_F(ControlTest, RepeatedInitializeReplacesTheEarlierWindows) {
  ASSERT_TRUE(control.Initialize());
  HWND firstVideo = FormVideo()->Handle();
  HWND firstMessage = FormMessage()->Handle();
  ASSERT_TRUE(control.Initialize());
  EXPECT_FALSE(IsWindow(firstVideo));
  EXPECT_FALSE(IsWindow(firstMessage));
  EXPECT_TRUE(IsWindow(FormVideo()->Handle()));
}

TEST_F(ControlTest, CloseControlTwiceAndWithoutInitialize) {
  control.CloseControl();
  EXPECT_EQ(os.mci, (Strings{"close movie"}));
  EXPECT_FALSE(control.MouseTimer().Enabled());
  EXPECT_FALSE(control.ClearDotsTimer().Enabled());

  TLumivox other(os);
  ASSERT_TRUE(other.Initialize());
  HWND video = FormVideo()->Handle();
  os.Clear();
  other.CloseControl();
  EXPECT_EQ(os.mci, (Strings{"close movie"}));
  EXPECT_FALSE(IsWindow(video));
  EXPECT_EQ(FormVideo(), nullptr);
  EXPECT_EQ(FormMessage(), nullptr);
  other.CloseControl();
  EXPECT_EQ(os.mci, (Strings{"close movie", "close movie"}));
}

TEST_F(ControlTest, CloseCloseControlAndReleaseWithdrawTheAwakeRequest) {
  using End = void (*)(std::unique_ptr<TLumivox>&);
  const struct {
    const char* name;
    End end;
  } ends[] = {{"Close", [](std::unique_ptr<TLumivox>& p) { p->Close(); }},
              {"CloseControl", [](std::unique_ptr<TLumivox>& p) { p->CloseControl(); }},
              {"release", [](std::unique_ptr<TLumivox>& p) { p.reset(); }}};
  for (const auto& e : ends) {
    auto player = std::make_unique<TLumivox>(os);
    Tick(*player, os, "playing");
    os.Clear();
    e.end(player);
    player.reset();
    EXPECT_EQ(AwakeCalls(os), (Strings{kWithdrawCall})) << e.name << ", then release";
  }
}

TEST_F(ControlTest, VideoWindowRefusesCloseRequests) {
  InitializeQuietly();
  HWND video = FormVideo()->Handle();
  SendMessageA(video, WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageA(video, WM_CLOSE, 0, 0);
  PumpFor(50);
  EXPECT_TRUE(IsWindow(video));
  EXPECT_TRUE(IsWindowVisible(video));
}

TEST_F(ControlTest, TVTestShowsFourMarksInTheCorners) {
  InitializeQuietly();
  control.TVTest();
  EXPECT_EQ(os.mci, (Strings{"close movie"}));
  const int w = FormVideo()->ClientWidth();
  const int h = FormVideo()->ClientHeight();
  auto expectMark = [](const TVideoMark& mark, int left, int top) {
    const RECT r = mark.Bounds();
    EXPECT_TRUE(mark.Visible());
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, 60);
    EXPECT_EQ(r.bottom - r.top, 60);
  };
  expectMark(FormVideo()->lblLeftTop, 0, 0);
  expectMark(FormVideo()->lblLeftBottom, 0, h - 60);
  expectMark(FormVideo()->lblRightBottom, w - 60, h - 60);
  expectMark(FormVideo()->lblRightTop, w - 60, 0);
  EXPECT_TRUE(control.ClearDotsTimer().Enabled());
}

TEST_F(ControlTest, TVTestWithoutTheVideoWindowClosesTheDeviceThenFails) {
  EXPECT_THROW(control.TVTest(), std::exception);
  EXPECT_EQ(os.mci, (Strings{"close movie"}));
}

class LogoTest : public ControlTest {
 protected:
  void SetUp() override {
    folder = MakeTempFolder("orvex logo");
    bmp = folder + "\\station logo.bmp";
    WriteFileBytes(bmp, QuadrantBitmapFile(32, 24));
  }
  void TearDown() override {
    ControlTest::TearDown();
    for (const char* name : {"\\station logo.bmp", "\\logo.png", "\\broken.jpg", "\\broken.bmp"}) {
      DeleteFileA((folder + name).c_str());
    }
    RemoveDirectoryA(folder.c_str());
  }
  std::string folder;
  std::string bmp;
};

TEST_F(LogoTest, LogoSetBeforeInitializeIsShownByInitialize) {
  control.SetLogo(AnsiToWide("  " + bmp + " "));
  EXPECT_EQ(control.Logo(), AnsiToWide(bmp));
  ASSERT_TRUE(control.Initialize());
  EXPECT_FALSE(FormVideo()->imgLogo.Empty());
}

TEST_F(LogoTest, BlankNameClearsAndFailedLoadsKeepThePicture) {
  InitializeQuietly();
  control.SetLogo(AnsiToWide(bmp));
  ASSERT_FALSE(FormVideo()->imgLogo.Empty());

  const std::string png = folder + "\\logo.png";
  WriteFileBytes(png, QuadrantBitmapFile(8, 8));
  control.SetLogo(AnsiToWide(png));
  EXPECT_FALSE(FormVideo()->imgLogo.Empty()) << "unknown kind keeps the previous picture";
  EXPECT_EQ(control.Logo(), AnsiToWide(png));

  const std::string brokenJpeg = folder + "\\broken.jpg";
  WriteFileBytes(brokenJpeg, QuadrantJpegFile(64, 48).substr(0, 40));
  control.SetLogo(AnsiToWide(brokenJpeg));
  EXPECT_FALSE(FormVideo()->imgLogo.Empty());

  const std::string brokenBitmap = folder + "\\broken.bmp";
  WriteFileBytes(brokenBitmap, "BM this is no bitmap");
  control.SetLogo(AnsiToWide(brokenBitmap));
  EXPECT_FALSE(FormVideo()->imgLogo.Empty());

  control.SetLogo(AnsiToWide(" \t "));
  EXPECT_TRUE(FormVideo()->imgLogo.Empty());
  EXPECT_EQ(control.Logo(), L"");

  control.SetLogo(AnsiToWide(bmp));
  control.SetLogo(AnsiToWide(folder + "\\missing.bmp"));
  EXPECT_TRUE(FormVideo()->imgLogo.Empty()) << "a missing file clears";
}

TEST_F(LogoTest, InitializeClearsWhenTheLogoCannotBeLoaded) {
  control.SetLogo(AnsiToWide(folder + "\\missing.jpg"));
  ASSERT_TRUE(control.Initialize());
  EXPECT_TRUE(FormVideo()->imgLogo.Empty());
}

TEST_F(ControlTest, TextsAreStoredAsGiven) {
  control.SetFileName(L" a b ");
  control.SetMessage("\xbb\xb6\xd3\xad ");
  EXPECT_EQ(control.FileName(), L" a b ");
  EXPECT_EQ(control.Message(), "\xbb\xb6\xd3\xad ");
  EXPECT_TRUE(os.log.empty());
}
