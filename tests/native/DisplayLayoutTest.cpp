#include "control/DisplayLayout.h"

#include <gtest/gtest.h>

#include <limits>

TEST(DisplayLayout, VideoWindowGoesRightOfMonitorZeroOrStaysHidden) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  const LayoutRect m0{0, 0, 1024, 768};
  const std::optional<LayoutRect> hidden;
  const struct {
    const char* name;
    MonitorLayout monitors;
    std::optional<LayoutRect> expected;
  } cases[] = {
      {"station", {m0, {1024, 0, 1824, 600}}, LayoutRect{1024, 0, 1824, 600}},
      {"television in 1024x768", {m0, {1024, 0, 2048, 768}}, LayoutRect{1024, 0, 2048, 768}},
      {"monitor 1 lower: its own top is not used", {m0, {1024, 100, 1824, 700}},
       LayoutRect{1024, 0, 1824, 600}},
      {"three monitors: the third is not used", {m0, {1024, 0, 1824, 600}, {1824, 0, 2624, 600}},
       LayoutRect{1024, 0, 1824, 600}},
      {"monitor 0 wider", {{0, 0, 1280, 1024}, {1280, 0, 2080, 600}},
       LayoutRect{1280, 0, 2080, 600}},
      // Right of monitor 0 at the origin lies on no monitor: nothing on the
      // operator's screen, so the rule stands.
      {"monitor 1 left of monitor 0", {m0, {-800, 0, 0, 600}}, LayoutRect{1024, 0, 1824, 600}},
      {"monitor 1 above monitor 0", {m0, {0, -600, 800, 0}}, LayoutRect{1024, 0, 1824, 600}},
      // Monitor 0 right of monitor 1: the rule's bounds reach into monitor 0.
      {"monitor 0 right of a wide monitor 1", {{1280, 0, 2304, 768}, {0, 0, 1280, 1024}}, hidden},
      {"monitor 0 right of the origin", {{200, 0, 1224, 768}, {1224, 0, 2024, 600}}, hidden},
      {"no monitor", {}, hidden},
      {"one monitor", {m0}, hidden},
      {"monitor 1 of zero width", {m0, {1024, 0, 1024, 600}}, hidden},
      {"monitor 1 of zero height", {m0, {1024, 0, 1824, 0}}, hidden},
      {"monitor 0 of zero size", {{0, 0, 0, 0}, {1024, 0, 1824, 600}}, hidden},
      {"monitor 1 turned inside out", {m0, {1824, 600, 1024, 0}}, hidden},
      {"bounds past the coordinate range", {{-kMax, 0, kMax, 768}, {0, 0, 800, 600}}, hidden},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VideoWindowPlacement(c.monitors), c.expected) << c.name;
  }
}
