#include "message/MessageRun.h"

#include "win/ControlTypes.h"

int32_t EffectiveActionStyle(int32_t style) {
  return style == aLeftToRight || style == aStatic ? style : aRightToLeft;
}

int32_t MessageStripOffset(int32_t location, int32_t videoHeight, int32_t labelHeight) {
  const int64_t free = int64_t{videoHeight} - labelHeight;
  switch (location) {
    case lBottom: return static_cast<int32_t>(free);
    case lMiddle: return static_cast<int32_t>(free / 2);  // C++ division rounds toward zero
    default: return 0;
  }
}

int32_t MessageStartLeft(int32_t style, int32_t stripWidth, int32_t labelWidth) {
  switch (EffectiveActionStyle(style)) {
    case aLeftToRight: return -labelWidth;
    case aStatic: return static_cast<int32_t>((int64_t{stripWidth} - labelWidth) / 2);
    default: return stripWidth;
  }
}

uint32_t MessageMoveInterval(int32_t style, int32_t speed) {
  const int64_t s = speed;
  if (EffectiveActionStyle(style) == aStatic) return static_cast<uint32_t>((s < 0 ? -s : s) * 1000);
  const int64_t ms = 1000 - s;
  return ms < 0 ? 0 : static_cast<uint32_t>(ms);
}

uint32_t MessageRepeatInterval(int32_t seconds) {
  return seconds < 0 ? 0 : static_cast<uint32_t>(int64_t{seconds} * 1000);
}

void TMessageRun::Start(int32_t style, int32_t repeat, int32_t stripWidth, int32_t labelWidth) {
  moveEnabled = false;
  repeatEnabled = false;
  labelLeft = MessageStartLeft(style, stripWidth, labelWidth);
  windowVisible = true;
  actionStyle = style;
  allowClose = false;
  repeatLeft = repeat - 1;
  labelVisible = true;
  moveEnabled = true;
}

TMoveOutcome TMessageRun::MoveTick(int32_t stripWidth, int32_t labelWidth) {
  switch (EffectiveActionStyle(actionStyle)) {
    case aStatic:
      labelVisible = false;
      return EndPass();
    case aLeftToRight:
      if (labelLeft > stripWidth) {
        labelLeft = -labelWidth;
        return EndPass();
      }
      ++labelLeft;
      return TMoveOutcome::Moved;
    default:
      if (labelLeft < -labelWidth) {
        labelLeft = stripWidth;
        return EndPass();
      }
      --labelLeft;
      return TMoveOutcome::Moved;
  }
}

TMoveOutcome TMessageRun::EndPass() {
  moveEnabled = false;
  --repeatLeft;
  if (repeatLeft == -1) {
    allowClose = true;
    windowVisible = false;
    return TMoveOutcome::RunEnded;
  }
  repeatEnabled = true;
  if (repeatLeft == -2) repeatLeft = -1;  // an endless run stays endless
  return TMoveOutcome::PassEnded;
}

void TMessageRun::RepeatTick() {
  if (EffectiveActionStyle(actionStyle) == aStatic) labelVisible = true;
  repeatEnabled = false;
  moveEnabled = true;
}
