// Where the television's window goes for a monitor layout. The layout is the
// system's list of monitors in its own order: monitor 0 is the operator's,
// monitor 1 the television.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// A monitor's full rectangle or a window's bounds: right and bottom lie just
// past the last column and row.
struct LayoutRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  bool operator==(const LayoutRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const LayoutRect& o) const { return !(*this == o); }
};

using MonitorLayout = std::vector<LayoutRect>;

// The video window's bounds: left at monitor 0's width, top 0, monitor 1's
// size. None, and the window stays hidden, with fewer than two monitors, when
// monitor 0 or 1 has no area, or where those bounds would cover any part of
// monitor 0: the television's picture never goes onto the operator's screen.
std::optional<LayoutRect> VideoWindowPlacement(const MonitorLayout& monitors);
