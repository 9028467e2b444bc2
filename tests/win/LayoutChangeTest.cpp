// The output windows follow the monitor layout, whether the poller's tick
// finds a changed monitor list or the video window gets WM_DISPLAYCHANGE.
#include "tests/win/ControlFixture.h"
#include "tests/win/TestSupport.h"
#include "message/UnitMessage.h"

namespace {

const RECT kOperator{0, 0, 1024, 768};

RECT Bounds(const TBorderlessForm& form) { return WindowBounds(form.Handle()); }

void ReportDisplayChange() { SendMessageA(FormVideo()->Handle(), WM_DISPLAYCHANGE, 32, 0); }

class LayoutChangeTest : public ControlTest {
 protected:
  // A static message along the bottom that stays up until the next run.
  void ShowMessage(int32_t repeat = 0) {
    control.SetMessage("TV");
    control.SetMsgActionStyle(aStatic);
    control.SetMsgRepeat(repeat);
    control.DisplayMessage();
  }
};

}  // namespace

TEST_F(LayoutChangeTest, WindowsFollowEachLayoutOnTicksAndOnDisplayChangeMessages) {
  const struct {
    const char* name;
    std::vector<RECT> monitors;
    bool shown;
    RECT video;  // where a shown video window lies
  } cases[] = {
      {"television in 1024x768", {kOperator, {1024, 0, 2048, 768}}, true, {1024, 0, 2048, 768}},
      {"television off", {kOperator}, false, {}},
      {"television back", {kOperator, {1024, 0, 1824, 600}}, true, {1024, 0, 1824, 600}},
      {"monitor 0 grows", {{0, 0, 1280, 1024}, {1280, 0, 2080, 600}}, true, {1280, 0, 2080, 600}},
      {"monitor 1 of zero size", {kOperator, {1024, 0, 1024, 0}}, false, {}},
      {"three monitors", {kOperator, {1024, 0, 1824, 600}, {1824, 0, 2624, 600}}, true,
       {1024, 0, 1824, 600}},
      {"monitor 0 right of a wide monitor 1", {{1280, 0, 2304, 768}, {0, 0, 1280, 1024}}, false, {}},
      {"monitor 1 left of monitor 0", {kOperator, {-800, 0, 0, 600}}, true, {1024, 0, 1824, 600}},
      {"no monitor", {}, false, {}},
      {"station", {kOperator, {1024, 0, 1824, 600}}, true, {1024, 0, 1824, 600}},
  };
  InitializeQuietly();
  ShowMessage();
  const int stripHeight = Bounds(*FormMessage()).bottom - Bounds(*FormMessage()).top;
  for (const bool byMessage : {false, true}) {
    for (const auto& c : cases) {
      const std::string name = std::string(c.name) + (byMessage ? " (message)" : " (tick)");
      const RECT before = Bounds(*FormVideo());
      os.monitors = c.monitors;
      // The tick's timer does not run here: nothing pumps messages.
      byMessage ? ReportDisplayChange() : control.tmrMouseTimer();
      EXPECT_EQ(FormVideo()->Visible(), c.shown) << name;
      EXPECT_EQ(FormMessage()->Visible(), c.shown) << name;
      const RECT video = Bounds(*FormVideo()), strip = Bounds(*FormMessage());
      if (c.shown) {
        EXPECT_TRUE(EqualRect(&video, &c.video)) << name;
        EXPECT_EQ(strip.left, video.left) << name;
        EXPECT_EQ(strip.right, video.right) << name;
        EXPECT_EQ(strip.top, video.bottom - stripHeight) << name << ": along the bottom";
      } else {
        EXPECT_TRUE(EqualRect(&video, &before)) << name << ": a hidden window is not moved";
      }
    }
  }
  for (const std::string& command : os.mci) {
    EXPECT_EQ(command.rfind("status movie ", 0), 0u) << "the device is left alone: " << command;
  }
}

TEST_F(LayoutChangeTest, StripReturnsOnlyWhileItsRunGoesOn) {
  InitializeQuietly();
  ShowMessage(1);
  os.monitors.resize(1);
  control.tmrMouseTimer();
  FormMessage()->tmrMoveTimer();  // the one pass ends while the television is off
  os.monitors = {kOperator, {1024, 0, 1824, 600}};
  control.tmrMouseTimer();
  EXPECT_TRUE(FormVideo()->Visible());
  EXPECT_FALSE(FormMessage()->Visible()) << "a finished run stays hidden";

  os.monitors.resize(1);
  control.tmrMouseTimer();
  ShowMessage();
  EXPECT_FALSE(FormMessage()->Visible()) << "a run started meanwhile waits for the television";
  os.monitors = {kOperator, {1024, 0, 2048, 768}};
  control.tmrMouseTimer();
  EXPECT_TRUE(FormMessage()->Visible());
  EXPECT_EQ(Bounds(*FormMessage()).right, 2048);
}

TEST_F(LayoutChangeTest, ChangesBeforeInitializeAndAfterTheControlIsGone) {
  os.monitors.resize(1);
  control.tmrMouseTimer();
  os.monitors = {kOperator, {1024, 0, 2048, 768}};
  control.tmrMouseTimer();  // no windows yet: nothing to place
  ASSERT_TRUE(control.Initialize());
  EXPECT_EQ(Bounds(*FormVideo()).right, 2048) << "Initialize places by the layout of its time";

  {
    TLumivox other(os);
    ASSERT_TRUE(other.Initialize());
  }  // released without CloseControl: the windows stay
  os.monitors.resize(1);
  ReportDisplayChange();
  EXPECT_FALSE(FormVideo()->Visible());
}
