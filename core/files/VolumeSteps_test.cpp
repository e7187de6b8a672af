#include "core/files/VolumeSteps.h"

#include <gtest/gtest.h>

namespace {

double LevelOf(double percent) { return percent / 100.0 * 65535; }

}  // namespace

TEST(VolumeStepsTest, StepsLandOnTheTwoAndAHalfPerCentGrid) {
  struct Case {
    double from;
    double up;
    double down;
  };
  for (const Case c : {Case{47.3, 50.0, 45.0}, Case{50.0, 52.5, 47.5}, Case{41.5, 42.5, 40.0},
                       Case{40.5, 42.5, 37.5}, Case{40.0, 42.5, 37.5}, Case{0.5, 2.5, 0.0}}) {
    SCOPED_TRACE(c.from);
    EXPECT_DOUBLE_EQ(VolumeUp(LevelOf(c.from)).shownPercent, c.up);
    EXPECT_DOUBLE_EQ(VolumeDown(LevelOf(c.from)).shownPercent, c.down);
  }
  EXPECT_EQ(VolumeUp(LevelOf(47.3)).level, 32767u);  // 50 % of 65535, truncated
  EXPECT_EQ(VolumeDown(LevelOf(0.5)).level, 0u);
}

TEST(VolumeStepsTest, TheEndsOfTheScaleHold) {
  EXPECT_EQ(VolumeUp(LevelOf(99.6)).level, 65535u);
  EXPECT_DOUBLE_EQ(VolumeUp(LevelOf(99.6)).shownPercent, 100.0);
  EXPECT_EQ(VolumeUp(65535).level, 65535u);
  EXPECT_DOUBLE_EQ(VolumeUp(65535).shownPercent, 100.0);
  EXPECT_EQ(VolumeDown(0).level, 0u);
  EXPECT_DOUBLE_EQ(VolumeDown(0).shownPercent, 0.0);
  EXPECT_DOUBLE_EQ(VolumeDown(65535).shownPercent, 97.5);
}

// The players' presses, from whole mixer levels.
TEST(VolumeStepsTest, UpAndDownMoveOnTheGridAndStayInRange) {
  EXPECT_EQ(VolumeUp(0).level, 1638u);       // 2.5 %
  EXPECT_EQ(VolumeUp(1638).level, 3276u);    // 5 %
  EXPECT_EQ(VolumeUp(65535).level, 65535u);
  EXPECT_EQ(VolumeUp(64000).level, 65535u);  // 97.7 % to 100 %
  EXPECT_EQ(VolumeDown(3276).level, 1638u);
  EXPECT_EQ(VolumeDown(0).level, 0u);
  EXPECT_EQ(VolumeDown(400).level, 0u);      // 0.6 %: never below nothing
}
