#include "control/DisplayLayout.h"

#include <limits>

namespace {

int64_t Width(const LayoutRect& r) { return int64_t{r.right} - r.left; }
int64_t Height(const LayoutRect& r) { return int64_t{r.bottom} - r.top; }

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

std::optional<LayoutRect> VideoWindowPlacement(const MonitorLayout& monitors) {
  if (monitors.size() < 2) return std::nullopt;
  const LayoutRect& operatorMonitor = monitors[0];
  const LayoutRect& television = monitors[1];
  if (Width(operatorMonitor) <= 0 || Height(operatorMonitor) <= 0 || Width(television) <= 0 ||
      Height(television) <= 0) {
    return std::nullopt;
  }
  const int64_t left = Width(operatorMonitor);
  const int64_t right = left + Width(television);
  if (right > std::numeric_limits<int32_t>::max() ||
      Height(television) > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  const LayoutRect bounds{static_cast<int32_t>(left), 0, static_cast<int32_t>(right),
                          static_cast<int32_t>(Height(television))};
  if (Overlap(bounds, operatorMonitor)) return std::nullopt;
  return bounds;
}
