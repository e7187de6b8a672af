#include "info/RecheckTicks.h"

#include <gtest/gtest.h>

TEST(RecheckTicksTest, RecheckStopsOnTheTenthTickAndStartsAgain) {
  RecheckTicks ticks;
  for (int i = 1; i <= 9; ++i) EXPECT_FALSE(ticks.Tick()) << i;
  EXPECT_TRUE(ticks.Tick());
  for (int i = 1; i <= 9; ++i) EXPECT_FALSE(ticks.Tick()) << i;
  ticks.Restart();
  for (int i = 1; i <= 9; ++i) EXPECT_FALSE(ticks.Tick()) << i;
  EXPECT_TRUE(ticks.Tick());
}
