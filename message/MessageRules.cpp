#include "message/MessageRules.h"

int32_t ClampMsgSpeed(int32_t speed) {
  if (speed < -999) return -999;
  if (speed > 999) return 999;
  return speed;
}

int32_t ClampMsgRepeat(int32_t passes) {
  if (passes < 0) return 1;
  if (passes > 5000) return 5000;
  return passes;
}

int32_t ClampMsgInterval(int32_t seconds) {
  if (seconds < 0) return 0;
  if (seconds > 3600) return 3600;
  return seconds;
}
