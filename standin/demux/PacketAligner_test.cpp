#include "standin/demux/PacketAligner.h"

#include <gtest/gtest.h>

#include "tools/tsgen/TestStreamMuxer.h"

namespace {

std::vector<std::uint8_t> Stream(StreamDamage damage, double seconds = 0.5) {
  TestStreamSettings settings;
  settings.seconds = seconds;
  settings.damage = damage;
  std::vector<std::uint8_t> bytes;
  TestStreamMuxer(settings).Write(
      [&](const std::uint8_t* d, std::size_t n) { bytes.insert(bytes.end(), d, d + n); });
  return bytes;
}

// Feeds `bytes` in chunks of the given sizes, round and round, and collects
// the packets.
std::vector<TsPacket> Align(PacketAligner& aligner, const std::vector<std::uint8_t>& bytes,
                            std::vector<std::size_t> chunks) {
  std::vector<TsPacket> packets;
  std::size_t at = 0;
  for (std::size_t i = 0; at < bytes.size(); ++i) {
    const std::size_t size = std::min(chunks[i % chunks.size()], bytes.size() - at);
    aligner.Feed(std::span(bytes).subspan(at, size), [&](const TsPacket& p) { packets.push_back(p); });
    at += size;
  }
  return packets;
}

}  // namespace

// The last packet waits for the first byte of the next; everything else comes
// out whole and in order, however the bytes are cut.
TEST(PacketAlignerTest, ChunksOfAnySizeGiveTheSamePackets) {
  const auto bytes = Stream(StreamDamage::None);
  const std::size_t total = bytes.size() / kTsPacketSize;
  for (const auto& chunks : std::vector<std::vector<std::size_t>>{{188}, {1}, {7, 1000, 3}, {51200}}) {
    PacketAligner aligner;
    const auto packets = Align(aligner, bytes, chunks);
    ASSERT_EQ(packets.size(), total - 1);
    for (std::size_t i = 0; i < packets.size(); i += 97) {
      EXPECT_TRUE(std::equal(packets[i].bytes.begin(), packets[i].bytes.end(),
                             bytes.begin() + static_cast<std::ptrdiff_t>(i * kTsPacketSize)));
    }
    EXPECT_EQ(aligner.Counts().resyncs, 0u);
    EXPECT_EQ(aligner.Counts().skippedBytes, 0u);
  }
}

TEST(PacketAlignerTest, StrayBytesAndCutPacketsAreSkipped) {
  for (StreamDamage damage : {StreamDamage::LostSync, StreamDamage::TruncatedPackets}) {
    const auto bytes = Stream(damage);
    PacketAligner aligner;
    const auto packets = Align(aligner, bytes, {1000, 13});
    const std::size_t whole = bytes.size() / kTsPacketSize;
    EXPECT_GT(aligner.Counts().resyncs, 0u);
    EXPECT_GT(aligner.Counts().skippedBytes, 0u);
    // Only the damaged places lose a packet.
    EXPECT_GT(packets.size(), whole - 2 * (aligner.Counts().resyncs + 1));
    for (const TsPacket& p : packets) ASSERT_TRUE(p.HasSync());
  }
}

TEST(PacketAlignerTest, CutPacketIsDroppedAndTheNextKept) {
  std::vector<std::uint8_t> bytes;
  for (std::uint8_t n = 1; n <= 4; ++n) {
    TsPacket p = BuildTsPacket(0x100, n, false, std::nullopt, std::vector<std::uint8_t>(184, n)).packet;
    bytes.insert(bytes.end(), p.bytes.begin(), p.bytes.begin() + (n == 2 ? 60 : 188));
  }
  PacketAligner aligner;
  std::vector<std::uint8_t> counters;
  aligner.Feed(bytes, [&](const TsPacket& p) { counters.push_back(p.ContinuityCounter()); });
  aligner.Feed(std::vector<std::uint8_t>{kTsSyncByte}, [&](const TsPacket& p) {
    counters.push_back(p.ContinuityCounter());
  });
  EXPECT_EQ(counters, (std::vector<std::uint8_t>{1, 3, 4}));
  EXPECT_EQ(aligner.Counts().truncated, 1u);
  EXPECT_EQ(aligner.Counts().skippedBytes, 60u);
}

// A long run of bytes with no packet grid (the zeros at the end of a file, a
// dead input) is given up as it comes, not kept.
TEST(PacketAlignerTest, GarbageIsNotHoarded) {
  PacketAligner aligner;
  int packets = 0;
  std::vector<std::uint8_t> zeros(100000, 0);
  for (int i = 0; i < 10; ++i) aligner.Feed(zeros, [&](const TsPacket&) { ++packets; });
  EXPECT_EQ(packets, 0);
  EXPECT_GE(aligner.Counts().skippedBytes, 10u * zeros.size() - 3 * kTsPacketSize);
  // The grid is found again as soon as packets come back.
  const auto bytes = Stream(StreamDamage::None, 0.1);
  aligner.Feed(bytes, [&](const TsPacket&) { ++packets; });
  EXPECT_EQ(static_cast<std::size_t>(packets), bytes.size() / kTsPacketSize - 1);
}
