#include "viewer/setup/ChannelScan.h"

#include <gtest/gtest.h>

#include "core/testing/VirtualChannels.h"

namespace {

using namespace std::chrono_literals;
using Kind = ScanRfResult::Kind;
const ChannelScan::Clock::time_point kStart{};

Tvct Table(std::vector<VirtualChannel> channels) {
  Tvct tvct;
  tvct.channels = std::move(channels);
  return tvct;
}

}  // namespace

// Without a signal an RF channel is left after the lock wait; with one the
// scan waits for the table, and a table ends the RF channel at once.
TEST(ChannelScanTest, MovesOnBySignalAndTable) {
  ChannelScan scan(7, 9, {}, kStart);
  EXPECT_EQ(scan.FirstRf(), 7);
  EXPECT_EQ(scan.RfCount(), 3);
  EXPECT_FALSE(scan.Tick(kStart + 100ms, 0, std::nullopt).finished);
  EXPECT_FALSE(scan.Tick(kStart + 300ms, 80, std::nullopt).finished);  // locked at 300 ms
  // The table wait counts from the lock, not from the tune.
  EXPECT_FALSE(scan.Tick(kStart + 2200ms, 80, std::nullopt).finished);
  ChannelScan::Step step = scan.Tick(kStart + 2250ms, 80, Table({Tv("WSVN", 7, 1), Tv("WSVN HD", 7, 2)}));
  ASSERT_TRUE(step.finished);
  EXPECT_EQ(step.finished->kind, Kind::Channels);
  EXPECT_EQ(step.finished->offered,
            (std::vector<ChannelEntry>{{"WSVN", 7, 7, 1}, {"WSVN_HD", 7, 7, 2}}));
  EXPECT_EQ(ScanResultText(*step.finished), "RF 7: 2 NEW CHANNELS");
  EXPECT_EQ(step.tune, 8);
  EXPECT_EQ(scan.RfsDone(), 1);

  // The lock wait counts from the end of the tune, however late that was.
  const auto tuned8 = kStart + 2750ms;
  scan.Tuned(tuned8);
  EXPECT_FALSE(scan.Tick(tuned8 + kScanLockWait - 1ms, std::nullopt, std::nullopt).finished);
  step = scan.Tick(tuned8 + kScanLockWait, std::nullopt, std::nullopt);
  ASSERT_TRUE(step.finished);
  EXPECT_EQ(step.finished->kind, Kind::NoSignal);
  EXPECT_EQ(ScanResultText(*step.finished), "RF 8: NO SIGNAL");
  EXPECT_EQ(step.tune, 9);

  // A signal without a table within the wait: reported, nothing offered;
  // the last RF channel ends the scan.
  const auto tuned9 = tuned8 + kScanLockWait;
  EXPECT_FALSE(scan.Tick(tuned9, 45, std::nullopt).finished);
  step = scan.Tick(tuned9 + 2000ms, 45, std::nullopt);
  ASSERT_TRUE(step.finished);
  EXPECT_EQ(step.finished->kind, Kind::NoChannelTable);
  EXPECT_TRUE(step.finished->offered.empty());
  EXPECT_EQ(ScanResultText(*step.finished), "RF 9: SIGNAL, NO CHANNEL TABLE");
  EXPECT_FALSE(step.tune);
  EXPECT_TRUE(scan.IsDone());
  EXPECT_EQ(scan.RfsDone(), 3);
  EXPECT_FALSE(scan.Tick(tuned9 + 3000ms, 45, Table({Tv("LATE", 9, 1)})).finished);
}

// Channels of the list, and channels the scan found on an earlier RF
// channel, are not offered again; a reversed range is scanned upwards.
TEST(ChannelScanTest, OffersEachChannelOnce) {
  ChannelScan scan(34, 33, {{"Mine", 33, 33, 1}}, kStart);
  EXPECT_EQ(scan.FirstRf(), 33);
  const Tvct wttt = Table({Tv("WTTT", 33, 1), Tv("WTTT2", 33, 2)});
  ChannelScan::Step step = scan.Tick(kStart, 45, wttt);
  ASSERT_TRUE(step.finished);
  EXPECT_EQ(step.finished->offered, (std::vector<ChannelEntry>{{"WTTT2", 33, 33, 2}}));
  EXPECT_EQ(ScanResultText(*step.finished), "RF 33: 1 NEW CHANNEL");
  step = scan.Tick(kStart, 45, Table({Tv("WTTT2", 33, 2), Tv("OTHER", 34, 1)}));
  ASSERT_TRUE(step.finished);
  // The same numbers on another RF channel are another channel.
  EXPECT_EQ(step.finished->offered,
            (std::vector<ChannelEntry>{{"WTTT2", 34, 33, 2}, {"OTHER", 34, 34, 1}}));
}

TEST(ChannelScanTest, TryingText) {
  EXPECT_EQ(ScanTryingText(7, 80), "RF 7: SIGNAL 80%");
  EXPECT_EQ(ScanTryingText(8, 0), "RF 8: NO SIGNAL");
  EXPECT_EQ(ScanTryingText(8, std::nullopt), "RF 8: NO SIGNAL");
}
