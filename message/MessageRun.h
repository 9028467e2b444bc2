// A message run as plain data: where the strip and its label go, how often the
// timers fire, and the pass/pause state machine driven one timer tick at a time.
// The message window applies the outcome to its real window and timers.
#pragma once
#include <cstdint>

// The motion every step uses: a value outside 0..2 runs as right to left.
int32_t EffectiveActionStyle(int32_t style);
// The strip's top within the video window for a label of the given height.
// The middle is rounded toward zero; a location outside 0..2 is placed as top.
int32_t MessageStripOffset(int32_t location, int32_t videoHeight, int32_t labelHeight);
// The label's left edge at the start of every pass.
int32_t MessageStartLeft(int32_t style, int32_t stripWidth, int32_t labelWidth);
// tmrMove's interval in ms: |speed| seconds for a static run, else 1000 - speed.
uint32_t MessageMoveInterval(int32_t style, int32_t speed);
// tmrRepeat's interval in ms for a pause of the given seconds.
uint32_t MessageRepeatInterval(int32_t seconds);

// What one tmrMove tick did.
enum class TMoveOutcome { Moved, PassEnded, RunEnded };

// The state of the message window during a run: the label, both timers, the
// close permission and the passes still to run.
struct TMessageRun {
  int32_t actionStyle = 0;   // FActionStyle
  int32_t repeatLeft = 0;    // FRepeatLeft: passes after the current one; -1 without end
  bool allowClose = false;   // FAllowClose
  int32_t labelLeft = 0;
  bool labelVisible = true;
  bool moveEnabled = false;  // tmrMove
  bool repeatEnabled = false;  // tmrRepeat
  bool windowVisible = false;

  // Starts a run in a strip of stripWidth with a label of labelWidth; repeat
  // is the stored pass count (0 without end).
  void Start(int32_t style, int32_t repeat, int32_t stripWidth, int32_t labelWidth);
  // One tmrMove tick: a one-pixel step, or the end of a pass.
  TMoveOutcome MoveTick(int32_t stripWidth, int32_t labelWidth);
  // One tmrRepeat tick: the pause is over and the next pass starts.
  void RepeatTick();

 private:
  TMoveOutcome EndPass();
};
