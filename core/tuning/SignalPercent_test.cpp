#include "core/tuning/SignalPercent.h"

#include <gtest/gtest.h>

namespace {

std::optional<TuningModel> Row(int model) { return FindTuningModel(model, std::nullopt); }

}  // namespace

TEST(SignalPercentTest, EachModelFamilyHasItsOwnScale) {
  EXPECT_EQ(SignalPercent(Row(0), 28000), 80);
  EXPECT_EQ(SignalPercent(Row(0), 8400000), 120);  // s / 350 above 110: s / 70000
  EXPECT_EQ(SignalPercent(Row(0), -5), 0);
  EXPECT_EQ(SignalPercent(Row(1), -2500), 90);     // 2500 / 250 + 80
  EXPECT_EQ(SignalPercent(Row(2), 22000), 100);    // s / 220 beats -88 + 80
  EXPECT_EQ(SignalPercent(Row(1), 100000), 454);
  EXPECT_EQ(SignalPercent(Row(1), 30000), 136);
  EXPECT_EQ(SignalPercent(Row(4), 11000), 100);    // (11000 + 10000) / 210
  EXPECT_EQ(SignalPercent(Row(5), -20000), 0);
  EXPECT_EQ(SignalPercent(Row(6), 77), 77);
  EXPECT_EQ(SignalPercent(Row(17), 93), 93);
  // A tuner named by tuner.txt, or a model without a row, reports per cent.
  EXPECT_EQ(SignalPercent(FindTuningModel(20, TunerNames{"T", "C"}), 28000), 28000);
  EXPECT_EQ(SignalPercent(Row(-1), 28000), 28000);
  EXPECT_EQ(SignalPercent(Row(19), -2500), -2500);
}
