#include "recorder/RecordingCheck.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/testing/TestFolder.h"

namespace {

constexpr std::uint64_t kRate = 19392658;

// A constant-rate stream: video-like packets on 0x31 with a clock reference
// every 100 packets, a second PID, and null packets.
std::vector<TsPacket> Stream(std::size_t count) {
  std::vector<TsPacket> packets;
  const std::vector<std::uint8_t> payload(184, 0xAB);
  std::uint8_t video = 0;
  std::uint8_t audio = 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::optional<Pcr27> pcr;
    if (i % 100 == 0) pcr = i * kTsPacketSize * 8 * 27'000'000 / kRate;
    if (i % 7 == 6) {
      packets.push_back(TsPacket::Null());
    } else if (i % 5 == 4) {
      packets.push_back(BuildTsPacket(0x34, audio++ & 0x0F, false, std::nullopt, payload).packet);
    } else {
      packets.push_back(BuildTsPacket(0x31, video++ & 0x0F, i == 0, pcr, payload).packet);
    }
  }
  return packets;
}

RecordingCheck::Result Check(const std::vector<TsPacket>& packets) {
  RecordingCheck check;
  for (const TsPacket& packet : packets) check.Feed(packet);
  return check.Outcome();
}

TEST(RecordingCheckTest, WholeStreamAndItsRate) {
  const auto result = Check(Stream(10001));
  EXPECT_EQ(10001u, result.packets);
  EXPECT_EQ(0u, result.syncErrors);
  EXPECT_EQ(0u, result.continuityErrors);
  EXPECT_EQ(0u, result.pcrGaps);
  EXPECT_NEAR(static_cast<double>(kRate), result.bitsPerSecond, kRate * 0.001);
  EXPECT_NEAR(0.7756, result.pcrSeconds, 0.001);
}

TEST(RecordingCheckTest, LostPacketsDamageAndATornEnd) {
  auto packets = Stream(3000);
  // One lost packet of PID 0x31: one continuity error.
  auto lostOne = packets;
  lostOne.erase(lostOne.begin() + 10);
  EXPECT_EQ(1u, Check(lostOne).continuityErrors);
  // A lost run that holds clock references (its length may leave every
  // counter in step): the clock jumps, and the rate no longer matches.
  auto lostRun = packets;
  lostRun.erase(lostRun.begin() + 1000, lostRun.begin() + 2500);
  const auto run = Check(lostRun);
  EXPECT_EQ(1u, run.pcrGaps);
  EXPECT_LT(run.bitsPerSecond, kRate * 0.6);
  // A packet without its sync byte.
  auto unsynced = packets;
  unsynced[20].bytes[0] = 0x00;
  EXPECT_EQ(1u, Check(unsynced).syncErrors);
  // A repeated packet is allowed once.
  auto repeated = packets;
  repeated.insert(repeated.begin() + 5, repeated[4]);
  EXPECT_EQ(0u, Check(repeated).continuityErrors);

  // A file cut inside a packet.
  TestFolder folder;
  std::string bytes;
  for (const TsPacket& packet : packets) bytes.append(packet.bytes.begin(), packet.bytes.end());
  folder.Write("torn.ts", bytes.substr(0, bytes.size() - 100));
  const auto torn = RecordingCheck::CheckFile(folder / "torn.ts");
  ASSERT_TRUE(torn);
  EXPECT_EQ(2999u, torn->packets);
  EXPECT_EQ(88u, torn->trailingBytes);
  EXPECT_EQ(0u, torn->continuityErrors);
  EXPECT_FALSE(RecordingCheck::CheckFile(folder / "missing.ts"));
}

}  // namespace
