#include "control/MouseGuardRules.h"

#include <gtest/gtest.h>

namespace {
// Monitor 0 1024 x 768 at the origin, monitor 1 to its right.
const GuardBounds kMonitor0{0, 0, 1024, 768};

std::vector<GuardPoint> Moves(GuardPoint p) { return GuardMoves(kMonitor0, p); }
}  // namespace

TEST(MouseGuard, CursorOnTheTelevisionGoesBackToTheRightEdge) {
  EXPECT_TRUE(CursorOutside(kMonitor0, {1500, 300}));
  EXPECT_EQ(Moves({1500, 300}), (std::vector<GuardPoint>{{1024, 300}}));
}

TEST(MouseGuard, EdgesPastTheLastPixelStillCountAsInside) {
  for (GuardPoint p : {GuardPoint{1024, 300}, GuardPoint{1024, 768}, GuardPoint{0, 0},
                       GuardPoint{500, 768}}) {
    EXPECT_FALSE(CursorOutside(kMonitor0, p)) << p.x << "," << p.y;
    EXPECT_TRUE(Moves(p).empty());
  }
  EXPECT_TRUE(CursorOutside(kMonitor0, {1025, 300}));
  EXPECT_TRUE(CursorOutside(kMonitor0, {500, 769}));
}

TEST(MouseGuard, TwoMovesInOneTickTheLaterWinsAndTheNextTickFinishes) {
  const auto first = Moves({1500, 900});
  ASSERT_EQ(first, (std::vector<GuardPoint>{{1024, 900}, {1500, 768}}));
  // The system is left where the last move put it; the next tick corrects x.
  EXPECT_EQ(Moves(first.back()), (std::vector<GuardPoint>{{1024, 768}}));
  EXPECT_TRUE(Moves({1024, 768}).empty());
}

TEST(MouseGuard, LeftAndTopMovesGoToTheLiteralZero) {
  EXPECT_EQ(Moves({-50, 100}), (std::vector<GuardPoint>{{0, 100}}));
  // Monitor 0 not at the origin: the left move still goes to x = 0.
  const GuardBounds shifted{100, 50, 1124, 818};
  EXPECT_EQ(GuardMoves(shifted, {20, 10}), (std::vector<GuardPoint>{{0, 10}, {20, 0}}));
}

TEST(MouseGuard, SingleMonitorCoveringTheCursorMovesNothing) {
  const GuardBounds only{0, 0, 1920, 1080};
  for (GuardPoint p : {GuardPoint{0, 0}, GuardPoint{1919, 1079}, GuardPoint{1920, 1080}}) {
    EXPECT_FALSE(CursorOutside(only, p));
    EXPECT_TRUE(GuardMoves(only, p).empty());
  }
}
