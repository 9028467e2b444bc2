#include "video/CornerMarks.h"

std::array<MarkBounds, 4> CornerMarkBounds(int32_t w, int32_t h) {
  const int32_t s = kCornerMarkSize;
  return {{{0, 0, s, s}, {0, h - s, s, s}, {w - s, h - s, s, s}, {w - s, 0, s, s}}};
}
