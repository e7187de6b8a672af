#include "player/ProgramPidTable.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/testing/TestFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void AppendSection(Bytes& stream, std::uint16_t pid, const Bytes& section) {
  Bytes payload{0};
  payload.insert(payload.end(), section.begin(), section.end());
  std::span<const std::uint8_t> rest(payload);
  bool first = true;
  for (std::uint8_t counter = 0; !rest.empty(); ++counter, first = false) {
    const BuiltPacket built = BuildTsPacket(pid, counter, first, std::nullopt, rest);
    stream.insert(stream.end(), built.packet.bytes.begin(), built.packet.bytes.end());
    rest = rest.subspan(built.payloadTaken);
  }
}

void Write(const std::filesystem::path& file, const Bytes& bytes) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(ProgramPidTableTest, GuessFromThePatWhenNoPmtIsFound) {
  TestFolder folder;
  Bytes stream;
  AppendSection(stream, kPatPid, SerializePat({1, 0, {{0, 0x10}, {1, 0x30}, {2, 0x40}}}));
  Write(folder.Path() / "two.ts", stream);
  const auto table = ScanProgramFile(folder.Path() / "two.ts");
  ASSERT_TRUE(table);
  EXPECT_EQ(*table, (std::vector<ProgramPids>{{0x31, 0x34}, {0x41, 0x44}}));
  EXPECT_EQ(ProgramLine((*table)[0]), "0x031");
  EXPECT_EQ(ProgramLine((*table)[1]), "0x041");
  EXPECT_EQ(GuessedPids(0x31), (ProgramPids{0x31, 0x34}));
}

TEST(ProgramPidTableTest, PmtStreamsWinOverTheGuessAndTheOrderIsThePats) {
  TestFolder folder;
  Bytes stream;
  AppendSection(stream, kPatPid, SerializePat({1, 0, {{7, 0x40}, {3, 0x30}}}));
  AppendSection(stream, 0x30, SerializePmt({3, 0, 0x100, {{kStreamTypeMpeg2Video, 0x100},
                                                           {kStreamTypeAc3Audio, 0x104}}}));
  AppendSection(stream, 0x40, SerializePmt({7, 0, 0x200, {{kStreamTypeMpeg2Video, 0x200}}}));
  Write(folder.Path() / "pmt.ts", stream);
  const auto table = ScanProgramFile(folder.Path() / "pmt.ts");
  ASSERT_TRUE(table);
  // Program 7's PMT has no audio: that one PID is still guessed.
  EXPECT_EQ(*table, (std::vector<ProgramPids>{{0x200, 0x44}, {0x100, 0x104}}));
  EXPECT_EQ(ProgramLine((*table)[0]), "0x0200");
}

TEST(ProgramPidTableTest, TheAudioPinsTypeFollowsThePmtsStreamType) {
  TestFolder folder;
  Bytes stream;
  AppendSection(stream, kPatPid, SerializePat({1, 0, {{1, 0x30}, {2, 0x40}, {3, 0x50}, {4, 0x60}}}));
  AppendSection(stream, 0x30, SerializePmt({1, 0, 0x100, {{kStreamTypeMpeg2Video, 0x100},
                                                           {0x04, 0x104}}}));
  AppendSection(stream, 0x40, SerializePmt({2, 0, 0x200, {{kStreamTypeMpeg2Video, 0x200},
                                                           {0x03, 0x204}}}));
  AppendSection(stream, 0x50, SerializePmt({3, 0, 0x300, {{kStreamTypeMpeg2Video, 0x300},
                                                           {kStreamTypeAc3Audio, 0x304}}}));
  Write(folder.Path() / "sound.ts", stream);
  const auto table = ScanProgramFile(folder.Path() / "sound.ts");
  ASSERT_TRUE(table);
  ASSERT_EQ(table->size(), 4u);
  EXPECT_EQ((*table)[0], (ProgramPids{0x100, 0x104, AudioCoding::Mpeg}));
  EXPECT_EQ((*table)[1], (ProgramPids{0x200, 0x204, AudioCoding::Mpeg}));
  EXPECT_EQ((*table)[2], (ProgramPids{0x300, 0x304, AudioCoding::Ac3}));
  // Program 4's PMT never comes: its guessed audio is taken as AC-3.
  EXPECT_EQ((*table)[3], (ProgramPids{0x61, 0x64, AudioCoding::Ac3}));
}

TEST(ProgramPidTableTest, AFileWithoutProgramsLeavesNoPidMapped) {
  const ProgramPids first{0x31, 0x34};
  const ProgramPids second{0x41, 0x44};
  ProgramMapping mapping;
  // A first file without a PAT: nothing to map, PID 0 least of all.
  PidChanges changes = mapping.Select(std::nullopt);
  EXPECT_EQ(changes.unmap, std::nullopt);
  EXPECT_EQ(changes.map, std::nullopt);
  // A file with programs after it: nothing to unmap.
  changes = mapping.Select(first);
  EXPECT_EQ(changes.unmap, std::nullopt);
  EXPECT_EQ(changes.map, first);
  // Another program: the first goes, the second comes.
  changes = mapping.Select(second);
  EXPECT_EQ(changes.unmap, first);
  EXPECT_EQ(changes.map, second);
  // The same program again changes nothing.
  changes = mapping.Select(second);
  EXPECT_EQ(changes.unmap, std::nullopt);
  EXPECT_EQ(changes.map, std::nullopt);
  // A file without a PAT after one with: its PIDs go and nothing comes.
  changes = mapping.Select(std::nullopt);
  EXPECT_EQ(changes.unmap, second);
  EXPECT_EQ(changes.map, std::nullopt);
  EXPECT_EQ(mapping.Mapped(), std::nullopt);
  // A graph torn down has no pins: the next program is only mapped.
  mapping.Select(first);
  mapping.Clear();
  EXPECT_EQ(mapping.Select(second).unmap, std::nullopt);
}

TEST(ProgramPidTableTest, TwelveProgramsKeepTheFirstTenAndAFileWithoutPatGivesNone) {
  TestFolder folder;
  PatTable pat;
  for (std::uint16_t i = 1; i <= 12; ++i) pat.programs.push_back({i, static_cast<std::uint16_t>(0x30 + 0x10 * i)});
  Bytes stream;
  AppendSection(stream, kPatPid, SerializePat(pat));
  Write(folder.Path() / "twelve.ts", stream);
  const auto table = ScanProgramFile(folder.Path() / "twelve.ts");
  ASSERT_TRUE(table);
  ASSERT_EQ(table->size(), 10u);
  EXPECT_EQ(table->back(), (ProgramPids{0xD1, 0xD4}));

  Bytes nulls;
  const TsPacket null = TsPacket::Null();
  for (int i = 0; i < 5000; ++i) nulls.insert(nulls.end(), null.bytes.begin(), null.bytes.end());
  Write(folder.Path() / "nopat.ts", nulls);
  EXPECT_EQ(ScanProgramFile(folder.Path() / "nopat.ts"), std::vector<ProgramPids>{});
  EXPECT_EQ(ScanProgramFile(folder.Path() / "missing.ts"), std::nullopt);
}
