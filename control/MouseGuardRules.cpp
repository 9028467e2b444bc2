#include "control/MouseGuardRules.h"

bool CursorOutside(const GuardBounds& b, GuardPoint c) {
  return c.x < b.left || c.y < b.top || c.x > b.right || c.y > b.bottom;
}

std::vector<GuardPoint> GuardMoves(const GuardBounds& b, GuardPoint c) {
  std::vector<GuardPoint> moves;
  if (c.x < b.left) moves.push_back({0, c.y});
  if (c.y < b.top) moves.push_back({c.x, 0});
  if (c.x > b.right) moves.push_back({b.right, c.y});
  if (c.y > b.bottom) moves.push_back({c.x, b.bottom});
  return moves;
}
