#include "core/ts/SectionAssembler.h"

#include <gtest/gtest.h>

#include "core/ts/PsiTables.h"

namespace {

// Splits `bytes` (a pointer field and sections) over packets of `pid`.
std::vector<TsPacket> Packetize(std::vector<std::uint8_t> bytes, std::uint8_t firstCounter = 0) {
  std::vector<TsPacket> packets;
  std::size_t at = 0;
  std::uint8_t counter = firstCounter;
  while (at < bytes.size()) {
    const auto built = BuildTsPacket(0, counter++, at == 0, std::nullopt,
                                     std::span(bytes).subspan(at));
    at += built.payloadTaken;
    packets.push_back(built.packet);
  }
  return packets;
}

PmtTable BigPmt(std::uint16_t program) {
  PmtTable pmt{program, 0, 0x100, {}};
  for (std::uint16_t i = 0; i < 100; ++i) pmt.streams.push_back({0x06, static_cast<std::uint16_t>(0x100 + i)});
  return pmt;
}

}  // namespace

TEST(SectionAssemblerTest, SectionsSpanningPacketsAndSharingOneAreAllFound) {
  std::vector<PmtTable> found;
  SectionAssembler assembler([&](auto section) { found.push_back(*ParsePmt(section)); });
  const auto first = SerializePmt(BigPmt(1));  // longer than one packet
  const auto second = SerializePmt({2, 0, 0x41, {{2, 0x41}}});
  std::vector<std::uint8_t> bytes{0};
  bytes.insert(bytes.end(), first.begin(), first.end());
  bytes.insert(bytes.end(), second.begin(), second.end());
  bytes.push_back(0xFF);
  for (const auto& packet : Packetize(bytes)) assembler.Feed(packet);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], BigPmt(1));
  EXPECT_EQ(found[1].programNumber, 2);
}

TEST(SectionAssemblerTest, ALostPacketDropsTheSectionAndTheNextOneIsFoundAgain) {
  int found = 0;
  SectionAssembler assembler([&](auto section) { found += ParsePmt(section) ? 1 : 100; });
  std::vector<std::uint8_t> bytes{0};
  const auto section = SerializePmt(BigPmt(1));
  bytes.insert(bytes.end(), section.begin(), section.end());
  auto packets = Packetize(bytes);
  ASSERT_GE(packets.size(), 3u);
  assembler.Feed(packets[0]);
  assembler.Feed(packets[2]);  // packets[1] lost
  EXPECT_EQ(found, 0);
  EXPECT_EQ(assembler.DroppedSections(), 1);
  for (const auto& packet : Packetize(bytes, 3)) assembler.Feed(packet);
  EXPECT_EQ(found, 1);
}

TEST(SectionAssemblerTest, APointerFieldBeyondThePacketIsIgnored) {
  int found = 0;
  SectionAssembler assembler([&](auto) { ++found; });
  std::vector<std::uint8_t> bytes(184, 0);
  bytes[0] = 250;
  assembler.Feed(BuildTsPacket(0, 0, true, std::nullopt, bytes).packet);
  EXPECT_EQ(found, 0);
}
