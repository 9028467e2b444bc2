#include "tests/win/ControlFixture.h"
#include "tests/win/TestSupport.h"

#include <thread>

using Strings = std::vector<std::string>;

TEST_F(ControlTest, PollMapsModesAndReadsThePosition) {
  const struct {
    const char* mode;
    const char* position;
    TStatus status;
    int32_t expected;
  } cases[] = {{"playing", "617", sPlaying, 617},   {"Paused\r\n", " 1200 ", sPaused, 1200},
               {"stopped", "3959", sStopped, 3959}, {"seeking", "", sNotReady, 0},
               {"", "", sNotReady, 0},             {"not ready", "42", sNotReady, 42}};
  for (const auto& c : cases) {
    os.Answer("status movie mode", 0, c.mode);
    os.Answer("status movie position", 0, c.position);
    control.tmrMouseTimer();
    EXPECT_EQ(control.MediaStatus(), c.status) << c.mode;
    EXPECT_EQ(control.MediaPosition(), c.expected) << c.position;
  }
  EXPECT_EQ(os.mci[0], "status movie mode");
  EXPECT_EQ(os.mci[1], "status movie position");
}

TEST_F(ControlTest, PositionThatIsNotANumberKeepsTheTickSilent) {
  os.Answer("status movie mode", 0, "playing");
  os.Answer("status movie position", 0, "617");
  control.tmrMouseTimer();
  os.Answer("status movie mode", 0, "paused");
  os.Answer("status movie position", 0, "0:00:01");
  EXPECT_NO_THROW(control.tmrMouseTimer());
  EXPECT_EQ(control.MediaStatus(), sPaused) << "the status is stored first";
  EXPECT_EQ(control.MediaPosition(), 617);
}

TEST_F(ControlTest, FailedQueriesCountAsEmptyReplies) {
  PollReporting("playing", "99");
  os.Answer("status movie mode", 263, "");
  os.Answer("status movie position", 263, "");
  control.tmrMouseTimer();
  EXPECT_EQ(control.MediaStatus(), sNotReady);
  EXPECT_EQ(control.MediaPosition(), 0);
}

TEST_F(ControlTest, RequestHeldWhileEitherObjectPlays) {
  // Each object has its own services: the one whose tick turns the
  // module-wide state makes the call.
  FakeSystem otherOs;
  TLumivox other(otherOs);
  const struct {
    const char* first;
    const char* second;
    Strings firstAwake, secondAwake;
  } steps[] = {{"playing", "stopped", {kKeepAwakeCall}, {}},
               {"playing", "playing", {}, {}},
               {"paused", "playing", {}, {}},
               {"paused", "stopped", {}, {kWithdrawCall}},
               {"stopped", "playing", {}, {kKeepAwakeCall}},
               {"playing", "playing", {}, {}},
               {"playing", "stopped", {}, {}},
               {"stopped", "stopped", {kWithdrawCall}, {}}};
  for (const auto& s : steps) {
    os.Clear();
    otherOs.Clear();
    Tick(control, os, s.first);
    Tick(other, otherOs, s.second);
    EXPECT_EQ(AwakeCalls(os), s.firstAwake) << s.first << " " << s.second;
    EXPECT_EQ(AwakeCalls(otherOs), s.secondAwake) << s.first << " " << s.second;
  }
}

TEST_F(ControlTest, GuardHidesMovesAndShowsTheCursorOnce) {
  os.cursor = {1500, 300};
  control.tmrMouseTimer();
  EXPECT_EQ(os.log[0], "hide -1");
  EXPECT_EQ(os.log[1], "move 1024,300");
  EXPECT_EQ(os.log[2], "show 0");
  EXPECT_EQ(os.log[3], "mci status movie mode");

  os.Clear();
  control.tmrMouseTimer();
  EXPECT_EQ(os.log[0], "mci status movie mode") << "(1024,300) counts as inside";
}

TEST_F(ControlTest, GuardCorrectsBothAxesOverTwoTicks) {
  os.monitors = {{0, 0, 1024, 768}, {1024, 0, 2304, 1024}};
  os.cursor = {1500, 900};
  control.tmrMouseTimer();
  EXPECT_EQ(os.log[1], "move 1024,900");
  EXPECT_EQ(os.log[2], "move 1500,768");
  os.Clear();
  control.tmrMouseTimer();
  EXPECT_EQ(os.log[1], "move 1024,768");
  os.cursor = {-50, 100};
  os.Clear();
  control.tmrMouseTimer();
  EXPECT_EQ(os.log[1], "move 0,100");
}

TEST_F(ControlTest, GuardRestoresTheHostsDisplayCount) {
  os.cursor = {1500, 300};
  os.displayCount = 2;
  control.tmrMouseTimer();
  EXPECT_EQ(os.displayCount, 0) << "a count of 0 or more ends at 0";
  EXPECT_EQ((Strings{os.log.begin(), os.log.begin() + 3}), (Strings{"hide 1", "hide 0", "hide -1"}));
  os.cursor = {1500, 300};
  os.displayCount = -3;
  os.Clear();
  control.tmrMouseTimer();
  EXPECT_EQ(os.displayCount, -3) << "a host's hidden cursor stays hidden";
}

TEST_F(ControlTest, SingleMonitorNeverMovesTheCursor) {
  os.monitors = {{0, 0, 1920, 1080}};
  for (POINT p : {POINT{1920, 1080}, POINT{0, 0}, POINT{700, 500}}) {
    os.cursor = p;
    os.Clear();
    control.tmrMouseTimer();
    EXPECT_EQ(os.log.front(), "mci status movie mode");
  }
}

TEST_F(ControlTest, TimerPollsFromConstructionUntilCloseControl) {
  EXPECT_TRUE(control.MouseTimer().Enabled());
  EXPECT_EQ(control.MouseTimer().Interval(), 50u);
  os.Answer("status movie mode", 0, "playing");
  os.Answer("status movie position", 0, "5");
  ASSERT_TRUE(PumpUntil(2000, [&] { return control.MediaPosition() == 5; }))
      << "the timer runs before Initialize";
  control.CloseControl();
  os.Answer("status movie position", 0, "6");
  os.Clear();
  PumpFor(300);
  EXPECT_TRUE(os.mci.empty()) << "no poll after CloseControl";
  EXPECT_EQ(control.MediaPosition(), 5) << "the last polled value stays";
}

// Timers fire only on their own window's thread: an object made on a second
// apartment thread polls through that thread's message loop, and the first
// thread's object goes on polling through its own.
TEST_F(ControlTest, ObjectsOnTwoApartmentThreadsBothPoll) {
  os.Answer("status movie mode", 0, "paused");
  bool secondPolled = false;
  std::thread second([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      FakeSystem system;
      system.Answer("status movie mode", 0, "playing");
      TLumivox object(system);
      secondPolled = PumpUntil(10000, [&] { return object.MediaStatus() == sPlaying; });
    }
    CoUninitialize();
  });
  second.join();
  EXPECT_TRUE(secondPolled);
  EXPECT_TRUE(PumpUntil(10000, [&] { return control.MediaStatus() == sPaused; }));
}
