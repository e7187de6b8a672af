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

#include "player/VolumeSteps.h"

TEST(VolumeStepsTest, UpAndDownMoveOnTheGridAndStayInRange) {
  EXPECT_EQ(NextVolumeLevel(0, true), 1638);       // 2.5 %
  EXPECT_EQ(NextVolumeLevel(1638, true), 3276);    // 5 %
  EXPECT_EQ(NextVolumeLevel(65535, true), 65535);
  EXPECT_EQ(NextVolumeLevel(64000, true), 65535);  // 97.7 % to 100 %
  EXPECT_EQ(NextVolumeLevel(3276, false), 1638);
  EXPECT_EQ(NextVolumeLevel(0, false), 0);
  EXPECT_EQ(NextVolumeLevel(400, false), 0);       // 0.6 %: never below nothing
}
