#include "core/geometry/FullScreenPlacement.h"

#include <gtest/gtest.h>

TEST(FullScreenPlacementTest, EachDisplayLayoutWithTheFrameOverTheEdges) {
  const Size primary{1920, 1080};
  const Size second{1280, 1024};
  EXPECT_EQ(FullScreenRect(true, primary, second, {0, 0, 3200, 1080}), (Rect{-3, -3, 1923, 1083}));
  // Right of the primary display.
  EXPECT_EQ(FullScreenRect(false, primary, second, {0, 0, 3200, 1080}),
            (Rect{1917, -3, 3203, 1027}));
  // Stacked below it: the virtual screen is as wide as one display.
  EXPECT_EQ(FullScreenRect(false, primary, second, {0, 0, 1920, 2104}),
            (Rect{-3, 1077, 1283, 2107}));
  // Left of it: the virtual screen starts at the second display.
  EXPECT_EQ(SecondaryDisplayRect(primary, second, {-1280, 0, 1920, 1080}),
            (Rect{-1280, 0, 0, 1024}));
}
