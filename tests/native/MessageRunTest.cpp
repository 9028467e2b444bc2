// The message run driven tick by tick, its geometry and its timer intervals.
#include <gtest/gtest.h>

#include <vector>

#include "win/ControlTypes.h"
#include "message/MessageRun.h"

namespace {

struct TTrace {
  std::vector<int> ticksPerPass;
  int pauses = 0;
  bool ended = false;
  std::vector<int32_t> lefts;  // label position after every tick of the first pass
};

// Fires whichever timer the run has on, as the message loop would, until the
// run ends or maxPasses passes are done. Both timers are never on at once.
TTrace Drive(TMessageRun& run, int32_t width, int32_t labelWidth, int maxPasses) {
  TTrace trace;
  int ticks = 0;
  while (static_cast<int>(trace.ticksPerPass.size()) < maxPasses && ticks < 1000000) {
    EXPECT_FALSE(run.moveEnabled && run.repeatEnabled);
    if (run.repeatEnabled) {
      ++trace.pauses;
      run.RepeatTick();
      continue;
    }
    if (!run.moveEnabled) break;
    ++ticks;
    const TMoveOutcome outcome = run.MoveTick(width, labelWidth);
    if (trace.ticksPerPass.empty()) trace.lefts.push_back(run.labelLeft);
    if (outcome == TMoveOutcome::Moved) continue;
    trace.ticksPerPass.push_back(ticks);
    ticks = 0;
    if (outcome == TMoveOutcome::RunEnded) {
      trace.ended = true;
      break;
    }
  }
  return trace;
}

}  // namespace

TEST(MessageRun, PassesPausesAndTheEndOfARun) {
  const int32_t W = 10, w = 3;
  struct Case {
    int32_t style, repeat;
    int passes;  // done when the run ends (or stopped after, when endless)
    bool ends;
    int ticksPerPass;
    int32_t labelAfterPass;
    bool labelVisibleAfterRun;
  } cases[] = {
      {aRightToLeft, 1, 1, true, W + w + 2, W, true},
      {aRightToLeft, 3, 3, true, W + w + 2, W, true},
      {aLeftToRight, 2, 2, true, W + w + 2, -w, true},
      {aStatic, 2, 2, true, 1, (W - w) / 2, false},
      {7, 2, 2, true, W + w + 2, W, true},   // out of range: right to left
      {-1, 1, 1, true, W + w + 2, W, true},  // out of range: right to left
      {aRightToLeft, 0, 6, false, W + w + 2, W, true},  // endless
      {aStatic, 0, 6, false, 1, (W - w) / 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " repeat " << c.repeat);
    TMessageRun run;
    run.Start(c.style, c.repeat, W, w);
    EXPECT_EQ(run.repeatLeft, c.repeat - 1);
    EXPECT_TRUE(run.windowVisible && run.moveEnabled && !run.allowClose);
    const TTrace trace = Drive(run, W, w, c.passes);
    EXPECT_EQ(trace.ticksPerPass, std::vector<int>(c.passes, c.ticksPerPass));
    EXPECT_EQ(trace.ended, c.ends);
    EXPECT_EQ(run.labelLeft, c.labelAfterPass);
    EXPECT_EQ(run.labelVisible, c.labelVisibleAfterRun);
    if (c.ends) {
      EXPECT_EQ(trace.pauses, c.passes - 1);
      EXPECT_EQ(run.repeatLeft, -1);
      EXPECT_TRUE(run.allowClose);
      EXPECT_FALSE(run.windowVisible || run.moveEnabled || run.repeatEnabled);
    } else {
      EXPECT_EQ(run.repeatLeft, -1) << "-2 goes back to -1: the run stays endless";
      EXPECT_TRUE(run.repeatEnabled && run.windowVisible && !run.allowClose);
    }
  }
}

TEST(MessageRun, ScrollingVisitsEveryPixelOnceInEachDirection) {
  const int32_t W = 5, w = 2;
  for (int32_t style : {aRightToLeft, aLeftToRight}) {
    TMessageRun run;
    run.Start(style, 1, W, w);
    const int32_t start = run.labelLeft;
    const TTrace trace = Drive(run, W, w, 1);
    const int32_t step = style == aRightToLeft ? -1 : 1;
    std::vector<int32_t> expected;
    for (int32_t left = start + step; left != (style == aRightToLeft ? -w - 2 : W + 2); left += step) {
      expected.push_back(left);
    }
    expected.push_back(start);  // the ending tick puts it back at the start
    EXPECT_EQ(trace.lefts, expected) << "style " << style;
  }
}

TEST(MessageRun, StartingAgainReplacesARunInAPause) {
  TMessageRun run;
  run.Start(aRightToLeft, 3, 4, 2);
  Drive(run, 4, 2, 1);
  ASSERT_TRUE(run.repeatEnabled);
  run.Start(aStatic, 1, 4, 2);
  EXPECT_FALSE(run.repeatEnabled);
  EXPECT_EQ(run.repeatLeft, 0);
  EXPECT_EQ(run.labelLeft, 1);
  const TTrace trace = Drive(run, 4, 2, 5);
  EXPECT_TRUE(trace.ended);
  EXPECT_EQ(trace.ticksPerPass, std::vector<int>{1});
}

TEST(MessageGeometry, StripOffsetAndLabelStart) {
  struct Offset {
    int32_t location, videoHeight, labelHeight, offset;
  } offsets[] = {
      {lBottom, 600, 13, 587}, {lMiddle, 600, 13, 293}, {lMiddle, 600, 14, 293},
      {lMiddle, 10, 13, -1},  // toward zero, not -2
      {lTop, 600, 13, 0},      {3, 600, 13, 0},        {-1, 600, 13, 0},
      {lBottom, 10, 2000, -1990},
  };
  for (const Offset& o : offsets) {
    EXPECT_EQ(MessageStripOffset(o.location, o.videoHeight, o.labelHeight), o.offset)
        << "location " << o.location << " video " << o.videoHeight << " label " << o.labelHeight;
  }
  struct Start {
    int32_t style, stripWidth, labelWidth, left;
  } starts[] = {
      {aRightToLeft, 800, 3000, 800}, {aLeftToRight, 800, 3000, -3000},
      {aStatic, 800, 33, 383},        {aStatic, 800, 3001, -1100},  // toward zero
      {aStatic, 800, 800, 0},         {5, 800, 30, 800},
      {INT32_MIN, 800, 30, 800},
  };
  for (const Start& s : starts) {
    EXPECT_EQ(MessageStartLeft(s.style, s.stripWidth, s.labelWidth), s.left)
        << "style " << s.style << " label " << s.labelWidth;
  }
}

TEST(MessageGeometry, TimerIntervals) {
  struct Move {
    int32_t style, speed;
    uint32_t interval;
  } moves[] = {
      {aRightToLeft, 0, 1000},   {aRightToLeft, 990, 10}, {aLeftToRight, 999, 1},
      {aLeftToRight, -999, 1999}, {aStatic, 5, 5000},     {aStatic, -5, 5000},
      {aStatic, 0, 0},            {aStatic, 999, 999000}, {9, 0, 1000},
  };
  for (const Move& m : moves) {
    EXPECT_EQ(MessageMoveInterval(m.style, m.speed), m.interval)
        << "style " << m.style << " speed " << m.speed;
  }
  EXPECT_EQ(MessageRepeatInterval(0), 0u);
  EXPECT_EQ(MessageRepeatInterval(3600), 3600000u);
}
