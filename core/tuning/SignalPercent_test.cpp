#include "core/tuning/SignalPercent.h"

#include <gtest/gtest.h>

TEST(SignalPercentTest, EachModelFamilyHasItsOwnScale) {
  EXPECT_EQ(SignalPercent(0, 28000), 80);
  EXPECT_EQ(SignalPercent(0, 8400000), 120);  // s / 350 above 110: s / 70000
  EXPECT_EQ(SignalPercent(0, -5), 0);
  EXPECT_EQ(SignalPercent(1, -2500), 90);     // 2500 / 250 + 80
  EXPECT_EQ(SignalPercent(2, 22000), 100);    // s / 220 beats -88 + 80
  EXPECT_EQ(SignalPercent(1, 100000), 454);
  EXPECT_EQ(SignalPercent(1, 30000), 136);
  EXPECT_EQ(SignalPercent(4, 11000), 100);    // (11000 + 10000) / 210
  EXPECT_EQ(SignalPercent(5, -20000), 0);
  EXPECT_EQ(SignalPercent(6, 77), 77);
  EXPECT_EQ(SignalPercent(17, 93), 93);
}
