#include "common/display_scale.h"

#include <gtest/gtest.h>

#include <climits>

TEST(DisplayScale, RoundsToTheNearestPixelWithHalvesAwayFromZero) {
  struct Case {
    int value, from, to, scaled;
  } cases[] = {
      {0, 96, 144, 0},      {10, 96, 144, 15},    {11, 96, 144, 17},   {-11, 96, 144, -17},  // 16.5 either way
      {1, 96, 120, 1},      {2, 96, 120, 3},      {-2, 96, 120, -3},   {3, 96, 120, 4},       // 1.25, 2.5, 3.75
      {-30, 96, 120, -38},  {30, 96, 120, 38},    {7, 96, 96, 7},      {-7, 96, 96, -7},
      {5, 96, 168, 9},      {-5, 96, 168, -9},    {1, 96, 72, 1},      {-1, 96, 72, -1},      // 8.75, 0.75
      {17, 144, 96, 11},    {-18, 144, 192, -24}, {25, 96, 192, 50},   {100, 97, 96, 99},     // 98.97
      {INT_MAX, 96, 192, INT_MAX}, {INT_MIN, 96, 192, INT_MIN}, {INT_MIN, 96, 96, INT_MIN},
      {42, 0, 144, 42},     {42, -96, 144, 42},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ScaleBetween(c.value, c.from, c.to), c.scaled) << c.value << " from " << c.from << " to " << c.to;
}

TEST(DisplayScale, ScalesFromTheStandardDpiAndKnowsWhenNothingChanges) {
  EXPECT_EQ(DisplayScale().Dpi(), 96);
  EXPECT_FALSE(DisplayScale().Scales());
  EXPECT_FALSE(DisplayScale(0).Scales());  // a DPI nobody could tell
  EXPECT_FALSE(DisplayScale(-5).Scales());
  EXPECT_TRUE(DisplayScale(97).Scales());
  EXPECT_EQ(DisplayScale(144).Length(-55), -83);  // a button 55 pixels from the right edge, at 150 %
  EXPECT_EQ(DisplayScale(144).Position({4, -30}), (Point{6, -45}));
}

TEST(DisplayScale, AreasScaleCornerAndSizeApartSoEqualSizesStayEqual) {
  const DisplayScale scale(120);  // 125 %
  // Two areas of 25 x 25 at different places: both stay 31 x 31, though
  // their right edges scaled on their own would give 31 and 32.
  EXPECT_EQ(scale.Area({3, 5, 28, 30}), (Rect{4, 6, 35, 37}));
  EXPECT_EQ(scale.Area({1, 1, 26, 26}), (Rect{1, 1, 32, 32}));
  EXPECT_EQ(DisplayScale(144).Area({-20, 10, 40, 30}), (Rect{-30, 15, 60, 45}));
  EXPECT_EQ(DisplayScale().Area({3, 5, 28, 30}), (Rect{3, 5, 28, 30}));
  // A rectangle wider than an int holds is computed without overflow and
  // keeps its sides in order.
  const Rect huge = DisplayScale(192).Area({INT_MIN, 0, INT_MAX, 10});
  EXPECT_EQ(huge.left, INT_MIN);
  EXPECT_LE(huge.left, huge.right);
  EXPECT_EQ(huge.bottom, 20);
}
