#include "core/ts/PesAssembler.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

std::vector<TsPacket> Packetize(const std::vector<std::uint8_t>& pes, std::uint8_t& counter) {
  std::vector<TsPacket> packets;
  std::size_t at = 0;
  while (at < pes.size()) {
    const auto built = BuildTsPacket(0x31, counter++, at == 0, std::nullopt, std::span(pes).subspan(at));
    at += built.payloadTaken;
    packets.push_back(built.packet);
  }
  return packets;
}

std::vector<std::uint8_t> Pes(std::uint8_t streamId, std::uint64_t pts, std::size_t size, bool bounded) {
  std::vector<std::uint8_t> data(size);
  std::iota(data.begin(), data.end(), static_cast<std::uint8_t>(pts));
  auto pes = PesHeader(streamId, pts, bounded ? size : 0);
  pes.insert(pes.end(), data.begin(), data.end());
  return pes;
}

}  // namespace

TEST(PesAssemblerTest, UnboundedPesEndsWhenTheNextStarts) {
  std::vector<std::pair<std::uint64_t, std::size_t>> got;
  PesAssembler assembler([&](const PesPayload& p) { got.emplace_back(*p.pts, p.data.size()); });
  std::uint8_t counter = 0;
  for (const auto& packet : Packetize(Pes(0xE0, 0x1FFFFFFFF, 1000, false), counter)) assembler.Feed(packet);
  EXPECT_TRUE(got.empty());
  for (const auto& packet : Packetize(Pes(0xE0, 3003, 10, false), counter)) assembler.Feed(packet);
  ASSERT_EQ(got.size(), 1u);
  // Stuffing pads only the last packet of a PES, so the first PES is exact.
  EXPECT_EQ(got[0], (std::pair<std::uint64_t, std::size_t>{0x1FFFFFFFF, 1000}));
  assembler.Flush();
  EXPECT_EQ(got.size(), 2u);
}

TEST(PesAssemblerTest, BoundedPesIsHandedOnAsSoonAsItIsWhole) {
  std::vector<std::uint8_t> data;
  PesAssembler assembler([&](const PesPayload& p) {
    data.assign(p.data.begin(), p.data.end());
    EXPECT_EQ(p.streamId, 0xBD);
    EXPECT_EQ(p.pts, 2880u);
  });
  std::uint8_t counter = 5;
  const auto pes = Pes(0xBD, 2880, 768, true);
  for (const auto& packet : Packetize(pes, counter)) assembler.Feed(packet);
  ASSERT_EQ(data.size(), 768u);
  EXPECT_EQ(data[767], static_cast<std::uint8_t>(2880 + 767));
}

TEST(PesAssemblerTest, LostPacketsAndBrokenHeadersAreSkippedAndReported) {
  std::vector<bool> discontinuities;
  PesAssembler assembler([&](const PesPayload& p) { discontinuities.push_back(p.discontinuity); });
  std::uint8_t counter = 0;
  auto packets = Packetize(Pes(0xE0, 1, 600, false), counter);
  assembler.Feed(packets[0]);
  assembler.Feed(packets[2]);  // packet 1 lost: the PES is dropped
  for (const auto& packet : Packetize(Pes(0xE0, 2, 10, true), counter)) assembler.Feed(packet);
  ASSERT_EQ(discontinuities, std::vector<bool>{true});

  std::vector<std::uint8_t> junk(50, 0xAB);
  assembler.Feed(BuildTsPacket(0x31, counter++, true, std::nullopt, junk).packet);
  assembler.Flush();
  EXPECT_EQ(assembler.DamagedPackets(), 1);
  EXPECT_EQ(discontinuities.size(), 1u);
}

TEST(PesAssemblerTest, HeaderPtsIsReadFromThePacketStartOnly) {
  const auto pes = Pes(0xE0, 0x1'2345'6789ull, 10, false);
  EXPECT_EQ(PesHeaderPts(pes), 0x1'2345'6789ull);
  EXPECT_EQ(PesHeaderPts(std::span(pes).first(12)), std::nullopt);  // cut inside the PTS
  EXPECT_EQ(PesHeaderPts(std::span(pes).subspan(1)), std::nullopt);
}
