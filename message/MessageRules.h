// Ranges the message settings are clamped to when a host writes them.
#pragma once
#include <cstdint>

int32_t ClampMsgSpeed(int32_t speed);        // -999 .. 999
int32_t ClampMsgRepeat(int32_t passes);      // a negative count becomes 1; at most 5000
int32_t ClampMsgInterval(int32_t seconds);   // 0 .. 3600
