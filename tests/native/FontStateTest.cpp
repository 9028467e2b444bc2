#include "win/FontState.h"

#include <gtest/gtest.h>

TEST(FontSize, HalfPointsRoundToTheEvenNeighbour) {
  EXPECT_EQ(WholePointsHalfEven(105000), 10);
  EXPECT_EQ(WholePointsHalfEven(115000), 12);
  EXPECT_EQ(WholePointsHalfEven(125000), 12);
  EXPECT_EQ(WholePointsHalfEven(135000), 14);
  EXPECT_EQ(WholePointsHalfEven(104999), 10);
  EXPECT_EQ(WholePointsHalfEven(105001), 11);
  EXPECT_EQ(WholePointsHalfEven(0), 0);
  EXPECT_EQ(WholePointsHalfEven(-5000), 0);
  EXPECT_EQ(WholePointsHalfEven(-15000), -2);
}

TEST(FontSize, PixelHeightsAndPointsAtCommonResolutions) {
  // The design font: 13 pixels at 96 pixels per inch is 9.75 points, shown as 10.
  EXPECT_EQ(FontPointsFromHeight(-13, 96), 10);
  EXPECT_EQ(FontHeightFromPoints(10, 96), -13);
  EXPECT_EQ(FontHeightFromPoints(12, 96), -16);
  EXPECT_EQ(FontHeightFromPoints(28, 96), -37);
  EXPECT_EQ(FontPointsFromHeight(-37, 96), 28);
  EXPECT_EQ(FontHeightFromPoints(10, 120), -17);
  EXPECT_EQ(MulDivRound(-7, 1, 2), -4) << "halves round away from zero";
  EXPECT_EQ(MulDivRound(INT32_MAX, 2, 1), INT32_MAX);
}
