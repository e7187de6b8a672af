#include "core/geometry/VideoPosition.h"

#include <gtest/gtest.h>

TEST(VideoPositionTest, OverscanCutsThePictureEdges) {
  EXPECT_EQ(VideoSourceRect({1920, 1080}, true), (Rect{32, 18, 1888, 1062}));
  EXPECT_EQ(VideoSourceRect({1920, 1080}, false), (Rect{0, 0, 1920, 1080}));
  EXPECT_EQ(VideoSourceRect({704, 480}, true), (Rect{32, 18, 672, 462}));
}

TEST(VideoPositionTest, WideModeFillsTheWindow) {
  EXPECT_EQ(VideoDestinationRect(AspectMode::Ratio16x9, {1024, 576}, {1920, 1080}), (Rect{0, 0, 1024, 576}));
}

TEST(VideoPositionTest, NarrowModeCutsTheSidesByTheWindowAndPictureHeights) {
  // A 1280 x 1024 window: 12% of 1820 (218.4) at each side.
  EXPECT_EQ(VideoDestinationRect(AspectMode::Ratio4x3, {1280, 1024}, {1920, 1080}),
            (Rect{-218, 0, 1498, 1024}));
  // A 720-line picture in a taller window: 12.5% of the window's 16:9 width
  // (900 x 16 / 9 = 1600, cut 200).
  EXPECT_EQ(VideoDestinationRect(AspectMode::Ratio4x3, {1200, 900}, {1280, 720}),
            (Rect{-200, 0, 1400, 900}));
  // Otherwise 12.5% of the native width; 1920 gives 240, 704 gives 88.
  EXPECT_EQ(VideoDestinationRect(AspectMode::Ratio4x3, {640, 480}, {1920, 1080}), (Rect{-240, 0, 880, 480}));
  EXPECT_EQ(VideoDestinationRect(AspectMode::Ratio4x3, {640, 700}, {1280, 720}), (Rect{-160, 0, 800, 700}));
  // Fractions are truncated toward zero at both ends: 711 x 0.125 = 88.875.
  EXPECT_EQ(VideoDestinationRect(AspectMode::Ratio4x3, {640, 480}, {711, 480}), (Rect{-88, 0, 728, 480}));
}
