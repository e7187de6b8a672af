#include "player/PlaybackRates.h"

#include <gtest/gtest.h>

#include <vector>

TEST(PlaybackRatesTest, PressesCycleFromTwoToSixteenAndTheOtherRateResets) {
  PlaybackRates rates;
  std::vector<double> played;
  for (int i = 0; i < 10; ++i) played.push_back(rates.FastForward());
  EXPECT_EQ(played, (std::vector<double>{2, 4, 8, 16, 2, 4, 8, 16, 2, 4}));

  EXPECT_EQ(rates.Rewind(), -2);
  EXPECT_EQ(rates.Forward(), 1);
  EXPECT_EQ(rates.Rewind(), -4);
  EXPECT_EQ(rates.FastForward(), 2);
  EXPECT_EQ(rates.Reverse(), 1);
}

TEST(PlaybackRatesTest, ResetAsksForNormalSpeedOnlyWhenARateWasRaised) {
  PlaybackRates rates;
  EXPECT_EQ(rates.Reset(), std::nullopt);
  rates.Rewind();
  EXPECT_EQ(rates.Reset(), 1.0);
  EXPECT_EQ(rates.Reverse(), 1);
  EXPECT_EQ(rates.Reset(), std::nullopt);
  EXPECT_EQ(rates.FastForward(), 2);  // the cycle starts over after a reset
}
