#include "core/ts/ProgramScan.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "core/ts/Crc32Mpeg.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The packets of one section on `pid`: a pointer field of 0, then the
// section over as many packets as it needs.
void AppendSection(Bytes& stream, std::uint16_t pid, const Bytes& section) {
  Bytes payload{0};
  payload.insert(payload.end(), section.begin(), section.end());
  std::span<const std::uint8_t> rest(payload);
  // Continuity counters run on per PID across the sections of one stream.
  static std::map<const Bytes*, std::map<std::uint16_t, std::uint8_t>> counters;
  std::uint8_t& counter = counters[&stream][pid];
  bool first = true;
  while (!rest.empty()) {
    const BuiltPacket built = BuildTsPacket(pid, counter, first, std::nullopt, rest);
    stream.insert(stream.end(), built.packet.bytes.begin(), built.packet.bytes.end());
    counter = static_cast<std::uint8_t>((counter + 1) & 0x0F);
    rest = rest.subspan(built.payloadTaken);
    first = false;
  }
}

void AppendNulls(Bytes& stream, int count) {
  for (int i = 0; i < count; ++i) {
    const TsPacket null = TsPacket::Null();
    stream.insert(stream.end(), null.bytes.begin(), null.bytes.end());
  }
}

PmtTable Pmt(std::uint16_t program, std::uint16_t video, std::uint16_t audio) {
  return PmtTable{program, 0, video, {{0x06, 0x200}, {kStreamTypeMpeg2Video, video},
                                      {kStreamTypeAc3Audio, audio}}};
}

// Feeds the stream in blocks of `block` bytes, as a file reader would.
void FeedInBlocks(ProgramScan& scan, const Bytes& stream, std::size_t block) {
  for (std::size_t at = 0; at < stream.size() && !scan.Done(); at += block) {
    scan.Feed(std::span(stream).subspan(at, std::min(block, stream.size() - at)));
  }
}

}  // namespace

TEST(ProgramScanTest, PatThenPmtsGiveEachProgramsStreamsWhateverTheBlockSize) {
  Bytes stream;
  AppendNulls(stream, 3);
  AppendSection(stream, kPatPid, SerializePat({1, 0, {{0, 0x10}, {1, 0x30}, {2, 0x40}}}));
  AppendNulls(stream, 2);
  AppendSection(stream, 0x40, SerializePmt(Pmt(2, 0x120, 0x121)));
  AppendSection(stream, 0x30, SerializePmt(Pmt(1, 0x100, 0x110)));
  AppendNulls(stream, 5);
  for (std::size_t block : {std::size_t{1}, std::size_t{100}, std::size_t{188}, std::size_t{1} << 20}) {
    ProgramScan scan;
    FeedInBlocks(scan, stream, block);
    ASSERT_TRUE(scan.Done()) << block;
    EXPECT_EQ(scan.Programs(),
              (std::vector<ScannedProgram>{{1, 0x30, true, 0x100, 0x110, kStreamTypeAc3Audio},
                                           {2, 0x40, true, 0x120, 0x121, kStreamTypeAc3Audio}}))
        << block;
  }
}

TEST(ProgramScanTest, PmtSplitOverTwoPacketsIsJoined) {
  PmtTable big{1, 0, 0x100, {}};
  for (std::uint16_t i = 0; i < 40; ++i) big.streams.push_back({0x06, static_cast<std::uint16_t>(0x300 + i)});
  big.streams.push_back({0x04, 0x111});  // MPEG audio after forty other streams
  big.streams.push_back({kStreamTypeMpeg2Video, 0x101});
  const Bytes section = SerializePmt(big);
  ASSERT_GT(section.size(), 184u);
  Bytes stream;
  AppendSection(stream, kPatPid, SerializePat({1, 0, {{1, 0x30}}}));
  AppendSection(stream, 0x30, section);
  ProgramScan scan;
  scan.Feed(stream);
  ASSERT_TRUE(scan.Done());
  EXPECT_EQ(scan.Programs()[0].videoPid, 0x101);
  EXPECT_EQ(scan.Programs()[0].audioPid, 0x111);
}

TEST(ProgramScanTest, StopsAtTheFirstPatAndGivesUpOnMissingPmtsAfterTheLimit) {
  Bytes stream;
  AppendSection(stream, kPatPid, SerializePat({1, 0, {{1, 0x30}}}));
  AppendSection(stream, kPatPid, SerializePat({1, 1, {{1, 0x50}, {2, 0x60}}}));
  AppendNulls(stream, 20);
  ProgramScan scan(188 * 10);
  scan.Feed(stream);
  EXPECT_TRUE(scan.Done());
  ASSERT_EQ(scan.Programs().size(), 1u);
  EXPECT_EQ(scan.Programs()[0].pmtPid, 0x30);
  EXPECT_FALSE(scan.Programs()[0].pmtFound);
}

TEST(ProgramScanTest, ANextOrDamagedPatIsNotTaken) {
  Bytes next = SerializePat({1, 0, {{1, 0x30}}});
  next[5] &= 0xFE;  // the next table, not the current one, with its CRC made good
  next.resize(next.size() - 4);
  const std::uint32_t crc = Crc32Mpeg(next);
  for (int shift = 24; shift >= 0; shift -= 8) next.push_back(static_cast<std::uint8_t>(crc >> shift));
  ASSERT_TRUE(ParsePat(next));
  Bytes damaged = SerializePat({1, 0, {{1, 0x70}}});
  damaged[9] ^= 0xFF;
  Bytes stream;
  AppendSection(stream, kPatPid, next);
  AppendSection(stream, kPatPid, damaged);
  AppendNulls(stream, 50);
  ProgramScan scan;
  scan.Feed(stream);
  EXPECT_FALSE(scan.Done());
  EXPECT_FALSE(scan.PatFound());
  EXPECT_TRUE(scan.Programs().empty());
}
