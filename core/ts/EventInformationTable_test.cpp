#include "core/ts/EventInformationTable.h"

#include <gtest/gtest.h>

#include <random>

#include "core/testing/PsipSectionBuilder.h"
#include "core/ts/ExtendedTextTable.h"

namespace {

using Builder = PsipSectionBuilder;
using Bytes = std::vector<std::uint8_t>;

}  // namespace

TEST(EventInformationTableTest, ReadsEveryFieldOfEveryEvent) {
  const Builder::Event full{.eventId = 0x3FFF, .start = 0xFEDCBA98, .length = 0xFFFFF,
                            .title = Builder::Latin1Mss("News"), .etmLocation = 2,
                            .descriptors = {0x86, 0x01, 0x77}};
  const Builder::Event bare{.eventId = 5, .start = 1000, .length = 1800, .title = {}, .etmLocation = 0};
  const auto parsed = ParseEitSection(Builder::Eit(0x0042, 17, {full, bare}, 1, 3));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->header.sectionNumber, 1);
  EXPECT_EQ(parsed->header.lastSectionNumber, 3);
  EXPECT_EQ(parsed->part.sourceId, 0x42);
  EXPECT_EQ(parsed->part.version, 17);
  ASSERT_EQ(parsed->part.events.size(), 2u);

  const EitEvent& first = parsed->part.events[0];
  EXPECT_EQ(first.eventId, 0x3FFF);
  EXPECT_EQ(first.startTime, 0xFEDCBA98u);
  EXPECT_EQ(first.etmLocation, 2);
  EXPECT_EQ(first.lengthSeconds, 0xFFFFFu);
  EXPECT_EQ(TextOf(first.title), "News");
  EXPECT_EQ(first.descriptors, (Bytes{0x86, 0x01, 0x77}));
  const EitEvent& second = parsed->part.events[1];
  EXPECT_EQ(second.eventId, 5);
  EXPECT_EQ(second.lengthSeconds, 1800u);
  EXPECT_EQ(second.etmLocation, 0);
  EXPECT_TRUE(second.title.strings.empty());
  EXPECT_TRUE(second.descriptors.empty());
}

TEST(EventInformationTableTest, DamagedSectionsAreRefusedWithoutReadingPastThem) {
  const Builder::Event event{.eventId = 1, .start = 1000, .length = 60, .title = Builder::Latin1Mss("Title")};
  const auto good = Builder::Eit(3, 0, {event, event});
  ASSERT_TRUE(ParseEitSection(good));
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(ParseEitSection(std::span(good).first(size))) << size;
  }
  auto protocol1 = good;
  protocol1[8] = 1;
  EXPECT_FALSE(ParseEitSection(Builder::Recrc(protocol1)));
  EXPECT_FALSE(ParseEitSection(Builder::Ett(0x00030006, Builder::Latin1Mss("x"))));  // another table

  Builder moreThanSent(0xCB, 3, 0);
  EXPECT_FALSE(ParseEitSection(moreThanSent.U8(3).AddEvent(event).AddEvent(event).Finish()));
  Builder titleOverruns(0xCB, 3, 0);
  titleOverruns.U8(1).U16(0xC001).U32(1000).U8(0xC0).U16(60).U8(40).Bytes(Builder::Latin1Mss("Title"));
  EXPECT_FALSE(ParseEitSection(titleOverruns.Finish()));
  Builder::Event leftOver = event;
  leftOver.title.push_back(0);  // a byte inside the title's length that no string uses
  EXPECT_FALSE(ParseEitSection(Builder::Eit(3, 0, {leftOver})));
  Builder::Event cutShort = event;
  cutShort.title.pop_back();
  EXPECT_FALSE(ParseEitSection(Builder::Eit(3, 0, {cutShort})));

  // Random damage behind a CRC made to match reaches the event loop.
  std::mt19937 random(27);
  for (int round = 0; round < 3000; ++round) {
    auto damaged = good;
    for (int flips = 0; flips < 3; ++flips) damaged[9 + random() % (damaged.size() - 13)] = random() & 0xFF;
    if (const auto parsed = ParseEitSection(Builder::Recrc(damaged))) {
      EXPECT_LE(parsed->part.events.size(), 2u);
      for (const auto& e : parsed->part.events) EXPECT_LE(e.lengthSeconds, 0xFFFFFu);
    }
  }
}

TEST(ExtendedTextTableTest, ReadsTheEtmIdAndTextThatFillsTheSection) {
  EXPECT_EQ(EventEtmId(0x0003, 0x0102), 0x0003040Au);
  EXPECT_EQ(EventEtmId(0xFFFF, 0xFFFF), 0xFFFFFFFEu);  // the event id has 14 bits

  const auto parsed = ParseEttSection(Builder::Ett(0x0003040A, Builder::Latin1Mss("Late news."), 9, 0x1234));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->part.etmId, 0x0003040Au);
  EXPECT_EQ(parsed->part.idExtension, 0x1234);
  EXPECT_EQ(parsed->part.version, 9);
  EXPECT_EQ(TextOf(parsed->part.text), "Late news.");

  auto longer = Builder::Latin1Mss("Late news.");
  longer.push_back(0x20);
  EXPECT_FALSE(ParseEttSection(Builder::Ett(0x0003040A, longer)));
  longer.resize(longer.size() - 2);
  EXPECT_FALSE(ParseEttSection(Builder::Ett(0x0003040A, longer)));
  EXPECT_FALSE(ParseEttSection(Builder(0xCC, 0, 0).U16(0x0003).Finish()));  // the ETM id cut short
  const auto good = Builder::Ett(0x0003040A, Builder::Latin1Mss("Late news."));
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(ParseEttSection(std::span(good).first(size))) << size;
  }
}
