#include "core/tuning/ChannelTuning.h"

#include <gtest/gtest.h>

TEST(ChannelTuningTest, MinorBelowTwoTunesByThePhysicalChannelAlone) {
  EXPECT_EQ(RequestedMajorChannel(10, 1), -1);
  EXPECT_EQ(RequestedMajorChannel(10, 0), -1);
  EXPECT_EQ(RequestedMajorChannel(10, -1), -1);
  EXPECT_EQ(RequestedMajorChannel(10, 2), 10);
  EXPECT_EQ(RequestedMajorChannel(51, 12), 51);
}

TEST(ChannelTuningTest, AnEntryOutsideTheListTunesNothing) {
  const std::vector<ChannelEntry> channels{{"WABC", 7, 10, 1}, {"WXYZ", 30, 51, 2}};
  EXPECT_EQ(ChannelTuneValues(channels, 1), (TuneValues{30, 51, 2}));
  EXPECT_EQ(ChannelTuneValues({}, 0), (TuneValues{-1, -1, -1}));
  EXPECT_EQ(ChannelTuneValues(channels, 2), (TuneValues{-1, -1, -1}));
  EXPECT_EQ(ChannelTuneValues(channels, -1), (TuneValues{-1, -1, -1}));
}
