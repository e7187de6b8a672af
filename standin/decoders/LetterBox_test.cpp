#include "standin/decoders/LetterBox.h"

#include <gtest/gtest.h>

namespace {

TEST(LetterBox, FitsThePictureCentredWithBarsOnTheLongSides) {
  // 16:9 in a 4:3 window: bars above and below.
  EXPECT_EQ((BoxRect{0, 60, 640, 420}), LetterBox({0, 0, 640, 480}, 16, 9));
  // 4:3 in a 16:9 window: bars left and right.
  EXPECT_EQ((BoxRect{160, 0, 1120, 720}), LetterBox({0, 0, 1280, 720}, 4, 3));
  // The same shape fills it; a shifted destination stays shifted.
  EXPECT_EQ((BoxRect{10, 20, 1930, 1100}), LetterBox({10, 20, 1930, 1100}, 1920, 1080));
  // A destination wider than the window (the viewer's 4:3 mode) is fitted too.
  EXPECT_EQ((BoxRect{-218, 29, 1498, 994}), LetterBox({-218, 0, 1498, 1024}, 16, 9));
}

TEST(LetterBox, EmptyDestinationsOrShapesAreLeftAlone) {
  EXPECT_EQ((BoxRect{0, 0, 0, 480}), LetterBox({0, 0, 0, 480}, 16, 9));
  EXPECT_EQ((BoxRect{5, 5, 2, 2}), LetterBox({5, 5, 2, 2}, 16, 9));
  EXPECT_EQ((BoxRect{0, 0, 640, 480}), LetterBox({0, 0, 640, 480}, 0, 9));
}

TEST(LetterBox, SourceRectanglesOfTheStreamAreScaledOntoTheRenderersPicture) {
  // The whole 1080-line picture and its overscan cut on a 720 x 480 surface.
  EXPECT_EQ((BoxRect{0, 0, 720, 480}), ScaleToPicture({0, 0, 1920, 1080}, 1920, 1080, 720, 480));
  EXPECT_EQ((BoxRect{9, 8, 711, 472}),
            ScaleToPicture({24, 18, 1896, 1062}, 1920, 1080, 720, 480));
  // A 720-line stream on a 1080-line surface grows.
  EXPECT_EQ((BoxRect{0, 0, 1920, 1080}), ScaleToPicture({0, 0, 1280, 720}, 1280, 720, 1920, 1080));
  // A rectangle of the larger stream before a channel change stays within.
  EXPECT_EQ((BoxRect{0, 0, 720, 480}), ScaleToPicture({0, 0, 1920, 1080}, 1280, 720, 720, 480));
  // No size known: unchanged.
  EXPECT_EQ((BoxRect{1, 2, 3, 4}), ScaleToPicture({1, 2, 3, 4}, 0, 1080, 720, 480));
}

}  // namespace
