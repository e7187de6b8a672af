#include "viewer/setup/SignalMeter.h"

#include <gtest/gtest.h>

TEST(SignalMeter, BeepsFasterInHigherBandsAndRestartsOnlyOnABandChange) {
  EXPECT_EQ(BeepPeriodMs(100), 250);
  EXPECT_EQ(BeepPeriodMs(85), 250);
  EXPECT_EQ(BeepPeriodMs(84), 1000);
  EXPECT_EQ(BeepPeriodMs(70), 1000);
  EXPECT_EQ(BeepPeriodMs(69), 1500);
  EXPECT_EQ(BeepPeriodMs(60), 1500);
  EXPECT_EQ(BeepPeriodMs(59), std::nullopt);

  const auto kworld = FindTuningModel(6, std::nullopt);  // the raw value is the figure
  SignalMeter meter(&*kworld);
  SignalMeter::Reading r = meter.Read(50);
  EXPECT_FALSE(r.beepChanged);  // silent from the start
  r = meter.Read(90);
  EXPECT_TRUE(r.beepChanged);
  EXPECT_EQ(r.beepPeriodMs, 250);
  r = meter.Read(88);
  EXPECT_FALSE(r.beepChanged);
  r = meter.Read(75);  // four a second down to one a second
  EXPECT_TRUE(r.beepChanged);
  EXPECT_EQ(r.beepPeriodMs, 1000);
  EXPECT_EQ(r.percent, 75);
  EXPECT_EQ(r.range, std::nullopt);
  r = meter.Read(-5);
  EXPECT_TRUE(r.beepChanged);
  EXPECT_EQ(r.beepPeriodMs, std::nullopt);
  EXPECT_EQ(r.percent, 0);
}

TEST(SignalMeter, UnknownScalesTrackTheRangeSeenAndNeverBeep) {
  const auto hauppauge = FindTuningModel(17, std::nullopt);
  SignalMeter meter(&*hauppauge);
  SignalMeter::Reading r = meter.Read(80);
  EXPECT_EQ(r.range, (SignalMeter::Range{0, 100}));
  EXPECT_EQ(r.beepPeriodMs, std::nullopt);
  EXPECT_FALSE(r.beepChanged);
  EXPECT_EQ(meter.Read(130).range, (SignalMeter::Range{0, 130}));
  r = meter.Read(-150);
  EXPECT_EQ(r.range, (SignalMeter::Range{-150, 150}));
  EXPECT_EQ(r.percent, 0);
  EXPECT_EQ(SignalMeter(nullptr).Read(-20).range, (SignalMeter::Range{-20, 100}));
}

TEST(SignalMeter, ChannelTabDropsTheFusionLowerBound) {
  const auto fusion = FindTuningModel(1, std::nullopt);
  const auto vbox = FindTuningModel(4, std::nullopt);
  // s = 30000: the panel's bound s / 220 = 136 does not apply here.
  EXPECT_EQ(ChannelTabSignalPercent(&*fusion, 30000), 0);
  EXPECT_EQ(ChannelTabSignalPercent(&*fusion, -5000), 100);
  EXPECT_EQ(ChannelTabSignalPercent(&*vbox, 8900), 90);
  EXPECT_EQ(ChannelTabSignalPercent(nullptr, 80), 80);
}
