#include "player/PlayerTexts.h"

#include <gtest/gtest.h>

namespace {
constexpr std::int64_t kSecond = 10'000'000;
}

TEST(PlayerTextsTest, PositionReadOutInEachMode) {
  EXPECT_EQ(PositionText(TimeDisplayMode::Elapsed, 3725 * kSecond + 9'999'999, 4000 * kSecond),
            "1:02:05");
  EXPECT_EQ(PositionText(TimeDisplayMode::Elapsed, 59 * kSecond, 60 * kSecond), "0:00:59");
  EXPECT_EQ(PositionText(TimeDisplayMode::Remaining, 5 * kSecond + 1, 3725 * kSecond + 5),
            "1:02:00");
  EXPECT_EQ(PositionText(TimeDisplayMode::Remaining, 80 * kSecond, 70 * kSecond), "0:00:00");
  EXPECT_EQ(PositionText(TimeDisplayMode::Hidden, 5 * kSecond, 60 * kSecond), "--:--:--");
}

TEST(PlayerTextsTest, SliderAndSeekArithmetic) {
  EXPECT_EQ(SliderValue(30 * kSecond, 120 * kSecond), 250);
  EXPECT_EQ(SliderValue(120 * kSecond + 5, 120 * kSecond), 1000);
  EXPECT_EQ(SliderValue(5 * kSecond, kSecond / 2), 0);  // under a second: no division by zero
  EXPECT_EQ(SliderTarget(125 * kSecond + 7, 500), 62 * kSecond);
  EXPECT_EQ(SliderTarget(125 * kSecond, 1000), 125 * kSecond);

  EXPECT_EQ(SkipBackTarget(10 * kSecond, 15), 0);
  EXPECT_EQ(SkipBackTarget(100 * kSecond, 60), 40 * kSecond);
  EXPECT_EQ(SkipForwardTarget(100 * kSecond, 120), 220 * kSecond);
  EXPECT_EQ(NearEndTarget(60 * kSecond), 58 * kSecond);
  EXPECT_EQ(NearEndTarget(kSecond), 0);
}

TEST(PlayerTextsTest, MenuTitles) {
  EXPECT_EQ(SkipMenuTitle("FF", 120), "SKIP FF: 2 MIN");
  EXPECT_EQ(SkipMenuTitle("FF", 60), "SKIP FF: 1 MIN");
  EXPECT_EQ(SkipMenuTitle("FF", 30), "SKIP FF: 30 SECS");
  EXPECT_EQ(SkipMenuTitle("RW", 15), "SKIP RW: 15 SECS");
  EXPECT_EQ(TimeMenuTitle(TimeDisplayMode::Elapsed), "DISPLAY: ELAPSED TIME");
  EXPECT_EQ(TimeMenuTitle(TimeDisplayMode::Remaining), "DISPLAY: REMAINING TIME");
  EXPECT_EQ(TimeMenuTitle(TimeDisplayMode::Hidden), "DISPLAY: HIDE TIME");
  EXPECT_EQ(SizeText(1920, 1080), "1920 X 1080");
}
