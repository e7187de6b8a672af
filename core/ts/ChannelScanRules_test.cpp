#include "core/ts/ChannelScanRules.h"

#include <gtest/gtest.h>

#include "core/testing/VirtualChannels.h"

namespace {

VirtualChannel With(VirtualChannel channel, std::uint8_t serviceType, bool hidden) {
  channel.serviceType = serviceType;
  channel.hidden = hidden;
  return channel;
}

}  // namespace

TEST(ChannelScanRulesTest, OffersVisibleDigitalTelevisionUnderOneWordNames) {
  Tvct tvct;
  tvct.channels = {Tv("KAAA", 7, 1),
                   Tv("KAAA HD", 7, 2),
                   Tv("", 7, 3),
                   Tv("   ", 8, 0),
                   Tv(std::string(" A\0B\tC ", 7), 1023, 999),
                   With(Tv("HIDDEN", 7, 4), kServiceTypeDigitalTelevision, true),
                   With(Tv("ANALOG", 7, 5), kServiceTypeAnalogTelevision, false),
                   With(Tv("RADIO", 7, 6), kServiceTypeAudio, false),
                   With(Tv("DATA", 7, 7), kServiceTypeData, false),
                   Tv("NOMAJOR", 0, 1),
                   Tv("BIGMINOR", 7, 1000),
                   Tv("AGAIN", 7, 1)};
  const std::vector<ChannelEntry> expected{{"KAAA", 33, 7, 1},
                                           {"KAAA_HD", 33, 7, 2},
                                           {"CH7", 33, 7, 3},
                                           {"CH8", 33, 8, 0},
                                           {"A_B_C", 33, 1023, 999}};
  EXPECT_EQ(OfferedChannels(tvct, 33, {}), expected);
}

TEST(ChannelScanRulesTest, ChannelsAlreadyInTheListAreNotOfferedAgain) {
  Tvct tvct;
  tvct.channels = {Tv("KAAA", 7, 1), Tv("KAAA2", 7, 2), Tv("KAAA3", 7, 3)};
  const std::vector<ChannelEntry> list{{"Mine", 33, 7, -1},   // shown and tuned as 7-1
                                       {"KAAA2", 34, 7, 2},   // another RF channel
                                       {"Old", 33, 7, 3}};
  EXPECT_EQ(OfferedChannels(tvct, 33, list), (std::vector<ChannelEntry>{{"KAAA2", 33, 7, 2}}));
  EXPECT_TRUE(OfferedChannels(Tvct{}, 33, list).empty());
}
