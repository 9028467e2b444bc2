// Where the mouse guard moves the cursor to keep it on the operator's monitor.
#pragma once
#include <cstdint>
#include <vector>

struct GuardPoint {
  int32_t x;
  int32_t y;
  bool operator==(const GuardPoint& other) const { return x == other.x && y == other.y; }
};

// Monitor bounds: right and bottom are just past the last column and row.
struct GuardBounds {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// Inclusive at both ends: a cursor at x == right or y == bottom counts as inside.
bool CursorOutside(const GuardBounds& bounds, GuardPoint cursor);

// The cursor positions to set, in order, each decided on the cursor as read.
// Left and top moves go to the literal coordinate 0. When two apply the later
// one wins for this tick; the next tick finishes the correction.
std::vector<GuardPoint> GuardMoves(const GuardBounds& bounds, GuardPoint cursor);
