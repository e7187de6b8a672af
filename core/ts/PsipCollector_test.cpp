#include "core/ts/PsipCollector.h"

#include <gtest/gtest.h>

#include "core/testing/PsipSectionBuilder.h"
#include "core/ts/SectionAssembler.h"

namespace {

using Channel = PsipSectionBuilder::Channel;

const Channel kFirst{.name = u"KAAA", .major = 7, .minor = 1};
const Channel kSecond{.name = u"KAAA SD", .major = 7, .minor = 2};
const Channel kThird{.name = u"KAAA WX", .major = 7, .minor = 3};

std::vector<std::string> Names(const std::optional<Tvct>& tvct) {
  std::vector<std::string> names;
  if (tvct) {
    for (const auto& channel : tvct->channels) names.push_back(channel.shortName);
  }
  return names;
}

}  // namespace

TEST(PsipCollectorTest, ATvctInTwoSectionsIsTakenWhenBothHaveComeGood) {
  PsipCollector collector;
  const auto section0 = PsipSectionBuilder::Tvct(0x0815, 4, {kFirst, kSecond}, 0, 1);
  const auto section1 = PsipSectionBuilder::Tvct(0x0815, 4, {kThird}, 1, 1);
  auto badCrc = section0;
  badCrc[12] ^= 0x01;

  collector.Feed(section1);
  collector.Feed(badCrc);
  collector.Feed(PsipSectionBuilder::Tvct(0x0815, 4, {kFirst, kSecond}, 0, 1, false));  // next
  collector.Feed(section1);
  EXPECT_FALSE(collector.CompleteTvct());
  EXPECT_EQ(collector.DamagedSections(), 1);

  collector.Feed(section0);  // the good copy after the damaged one
  ASSERT_TRUE(collector.CompleteTvct());
  EXPECT_EQ(collector.CompleteTvct()->transportStreamId, 0x0815);
  EXPECT_EQ(collector.CompleteTvct()->version, 4);
  EXPECT_EQ(Names(collector.CompleteTvct()),
            (std::vector<std::string>{"KAAA", "KAAA SD", "KAAA WX"}));
  collector.Feed(section1);  // repeats change nothing
  collector.Feed(section0);
  EXPECT_EQ(collector.CompleteTvct()->channels.size(), 3u);
}

TEST(PsipCollectorTest, ANewVersionDropsTheOldSectionsAndWins) {
  PsipCollector collector;
  collector.Feed(PsipSectionBuilder::Tvct(1, 4, {kFirst}, 0, 1));
  collector.Feed(PsipSectionBuilder::Tvct(1, 5, {kSecond}, 1, 1));
  EXPECT_FALSE(collector.CompleteTvct());  // sections of two versions are not one table
  collector.Feed(PsipSectionBuilder::Tvct(1, 5, {kThird}, 0, 1));
  EXPECT_EQ(Names(collector.CompleteTvct()), (std::vector<std::string>{"KAAA WX", "KAAA SD"}));

  collector.Feed(PsipSectionBuilder::Tvct(1, 6, {kFirst}, 0, 1, false));  // announced, not current
  EXPECT_EQ(collector.CompleteTvct()->version, 5);
  collector.Feed(PsipSectionBuilder::Tvct(1, 6, {kFirst}));  // now in one section
  EXPECT_EQ(Names(collector.CompleteTvct()), (std::vector<std::string>{"KAAA"}));
}

TEST(PsipCollectorTest, TakesTheMgtAndTheLatestTimeFromPacketsAndPassesOverOtherTables) {
  PsipCollector collector;
  SectionAssembler assembler([&](auto section) { collector.Feed(section); });
  PsipSectionBuilder mgt(0xC7, 0, 2);
  mgt.U16(1).U16(0x0000).U16(0xFFFB).U8(0xE3).U32(300).Descriptors({}, 12).Descriptors({}, 12);
  PsipSectionBuilder stt1(0xCD, 0, 0), stt2(0xCD, 0, 0), eit(0xCB, 1, 0);
  std::vector<std::uint8_t> bytes{0};  // pointer field, then the sections back to back
  for (const auto& section : {mgt.Finish(), stt1.U32(1000).U8(18).U16(0).Finish(),
                              eit.U8(0).U8(0).Finish(), stt2.U32(2000).U8(18).U16(0).Finish()}) {
    bytes.insert(bytes.end(), section.begin(), section.end());
  }
  bytes.resize(184, 0xFF);
  assembler.Feed(BuildTsPacket(kPsipPid, 0, true, std::nullopt, bytes).packet);

  ASSERT_TRUE(collector.CompleteMgt());
  EXPECT_EQ(collector.CompleteMgt()->tables, (std::vector<MgtEntry>{{0x0000, 0x1FFB, 3, 300, {}}}));
  ASSERT_TRUE(collector.LatestStt());
  EXPECT_EQ(collector.LatestStt()->systemTime, 2000u);
  EXPECT_EQ(collector.DamagedSections(), 0);
  EXPECT_FALSE(collector.CompleteTvct());
}
