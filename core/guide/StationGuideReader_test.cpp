#include "core/guide/StationGuideReader.h"

#include <gtest/gtest.h>

#include "core/testing/PsipSectionBuilder.h"

namespace {

using Builder = PsipSectionBuilder;
constexpr std::uint16_t kPsip = 0x1FFB;

// A table list naming the TVCT and, per pair, an event table type and PID.
std::vector<std::uint8_t> MgtSection(std::uint8_t version,
                                     const std::vector<std::pair<std::uint16_t, std::uint16_t>>& tables) {
  Builder b(0xC7, 0, version);
  b.U16(static_cast<unsigned>(tables.size() + 1));
  b.U16(0x0000).U16(0xE000 | kPsip).U8(0xE0).U32(0).Descriptors({}, 12);
  for (const auto& [type, pid] : tables) b.U16(type).U16(0xE000 | pid).U8(0xE0).U32(0).Descriptors({}, 12);
  return b.Descriptors({}, 12).Finish();
}

std::vector<std::uint8_t> SttSection(std::uint32_t gps, std::uint8_t offset) {
  return Builder(0xCD, 0, 0).U32(gps).U8(offset).U8(0x60).U8(0).Finish();
}

std::vector<std::uint8_t> TvctSection(std::uint8_t version, unsigned minor, std::uint16_t sourceId) {
  Builder::Channel channel{.name = u"WSVN", .major = 7, .minor = minor, .program = 1, .sourceId = sourceId};
  return Builder::Tvct(7, version, {channel});
}

std::vector<std::uint8_t> EitSection(std::uint16_t sourceId, std::uint8_t version, std::uint16_t eventId,
                                     std::uint32_t start, const std::string& title) {
  return Builder::Eit(sourceId, version,
                      {{.eventId = eventId, .start = start, .length = 120, .title = Builder::Latin1Mss(title)}});
}

// The section cut into transport packets of `pid`, the continuity counter
// running on from `counter`.
std::vector<std::uint8_t> Packets(std::uint16_t pid, const std::vector<std::uint8_t>& section, int& counter) {
  std::vector<std::uint8_t> out;
  std::size_t at = 0;
  bool first = true;
  while (at < section.size() || first) {
    std::vector<std::uint8_t> packet{0x47, static_cast<std::uint8_t>((first ? 0x40 : 0) | (pid >> 8)),
                                     static_cast<std::uint8_t>(pid), static_cast<std::uint8_t>(0x10 | (counter++ & 0x0F))};
    if (first) packet.push_back(0);  // pointer field
    while (packet.size() < 188 && at < section.size()) packet.push_back(section[at++]);
    packet.resize(188, 0xFF);
    out.insert(out.end(), packet.begin(), packet.end());
    first = false;
  }
  return out;
}

}  // namespace

TEST(StationGuideReaderTest, AsksForTheListedGuidePidsAndGivesProgrammesOnceTheTablesHaveCome) {
  StationGuideReader reader;
  EXPECT_EQ(reader.WantedPids(), std::vector<std::uint16_t>{0x1FFB});
  // An EIT before the table list names its PID is passed over.
  reader.Feed(0x1D00, EitSection(3, 0, 1, 1'400'000'000, "Early"));

  // The channels' texts (0x0004) are not the guide's; a reserved PID or the
  // null PID in a damaged list is never asked for.
  reader.Feed(kPsip, MgtSection(1, {{0x0101, 0x1D01}, {0x0100, 0x1D00}, {0x0200, 0x1E00},
                                    {0x0004, 0x1E10}, {0x0102, 0x0001}, {0x0201, 0x1FFF}}));
  EXPECT_EQ(reader.WantedPids(), (std::vector<std::uint16_t>{0x1D00, 0x1D01, 0x1E00, 0x1FFB}));

  reader.Feed(0x1D00, EitSection(3, 0, 1, 1'400'000'000, "Weather Now"));
  reader.Feed(kPsip, TvctSection(0, 1, 3));
  EXPECT_TRUE(reader.Programmes().empty());  // no system time yet: no UTC
  const std::uint64_t before = reader.Generation();
  reader.Feed(kPsip, SttSection(1'400'000'100, 18));
  EXPECT_GT(reader.Generation(), before);

  std::vector<GuideProgramme> programmes = reader.Programmes();
  ASSERT_EQ(programmes.size(), 1u);
  EXPECT_EQ(programmes[0].major, 7);
  EXPECT_EQ(programmes[0].minor, 1);
  EXPECT_EQ(programmes[0].title, "Weather Now");
  // GPS seconds from 1980-01-06, less 18 leap seconds.
  EXPECT_EQ(programmes[0].startUtc, 1'400'000'000 + 315'964'800 - 18);

  // Repeats change nothing; a renumbered channel table changes the
  // programmes made from the same events.
  const std::uint64_t steady = reader.Generation();
  reader.Feed(0x1D00, EitSection(3, 0, 1, 1'400'000'000, "Weather Now"));
  reader.Feed(kPsip, TvctSection(0, 1, 3));
  reader.Feed(kPsip, SttSection(1'400'000'101, 18));
  EXPECT_EQ(reader.Generation(), steady);
  reader.Feed(kPsip, TvctSection(1, 5, 3));
  EXPECT_GT(reader.Generation(), steady);
  ASSERT_EQ(reader.Programmes().size(), 1u);
  EXPECT_EQ(reader.Programmes()[0].minor, 5);

  // A new table list that drops EIT-1 asks for its PID no more.
  reader.Feed(kPsip, MgtSection(2, {{0x0100, 0x1D00}}));
  EXPECT_EQ(reader.WantedPids(), (std::vector<std::uint16_t>{0x1D00, 0x1FFB}));

  // Another station: nothing of the old one is given out or asked for.
  const std::uint64_t old = reader.Generation();
  reader.Reset();
  EXPECT_GT(reader.Generation(), old);
  EXPECT_TRUE(reader.Programmes().empty());
  EXPECT_EQ(reader.WantedPids(), std::vector<std::uint16_t>{0x1FFB});
}

TEST(StationGuideReaderTest, AssemblesSectionsFromPacketsOfTheWantedPidsOnly) {
  StationGuideReader reader;
  int psip = 0, eit = 0, other = 0;
  std::vector<std::uint8_t> stream;
  auto add = [&](const std::vector<std::uint8_t>& packets) { stream.insert(stream.end(), packets.begin(), packets.end()); };
  // The EIT comes before the table list that names its PID: it is lost,
  // and its next copy is taken.
  add(Packets(0x1D00, EitSection(4, 0, 9, 1'400'000'000, "Lost"), eit));
  add(Packets(kPsip, MgtSection(0, {{0x0100, 0x1D00}}), psip));
  add(Packets(kPsip, TvctSection(0, 2, 4), psip));
  add(Packets(kPsip, SttSection(1'400'000'000, 18), psip));
  // A long title, so the section spans several packets.
  const std::string longTitle(200, 'Q');
  add(Packets(0x1D00, EitSection(4, 1, 9, 1'400'000'000, longTitle), eit));
  // A section on a PID not asked for is never read.
  add(Packets(0x1D05, EitSection(4, 2, 10, 1'400'001'000, "Elsewhere"), other));
  // Bytes without a sync byte between packets are passed over.
  add(std::vector<std::uint8_t>(100, 0xFF));
  add(Packets(kPsip, TvctSection(1, 3, 4), psip));

  // Fed in uneven runs that split packets anywhere.
  std::size_t at = 0;
  for (const std::size_t run : {188u * 3, 100u, 188u, 1000u, 7u}) {
    if (at >= stream.size()) break;
    const std::size_t size = std::min(run, stream.size() - at);
    reader.FeedPackets(std::span(stream).subspan(at, size));
    at += size;
  }
  if (at < stream.size()) reader.FeedPackets(std::span(stream).subspan(at));

  const std::vector<GuideProgramme> programmes = reader.Programmes();
  ASSERT_EQ(programmes.size(), 1u);
  EXPECT_EQ(programmes[0].minor, 3);  // the channel table after the stray bytes came
  EXPECT_EQ(programmes[0].title, longTitle);
}
