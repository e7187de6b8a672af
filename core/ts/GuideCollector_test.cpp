#include "core/ts/GuideCollector.h"

#include <gtest/gtest.h>

#include "core/testing/PsipSectionBuilder.h"

namespace {

using Builder = PsipSectionBuilder;
using Event = PsipSectionBuilder::Event;

constexpr std::uint16_t kEit0Pid = 0x1D00;
constexpr std::uint16_t kEit1Pid = 0x1D01;
constexpr std::uint16_t kEtt0Pid = 0x1E00;

Mgt GuideMgt() {
  Mgt mgt;
  mgt.tables = {{0x0000, 0x1FFB, 0, 0, {}},
                {0x0100, kEit0Pid, 0, 0, {}},
                {0x0101, kEit1Pid, 0, 0, {}},
                {0x0200, kEtt0Pid, 0, 0, {}},
                {0x0004, 0x1E10, 0, 0, {}}};  // the channels' texts
  return mgt;
}

Stt SttWithOffset(std::uint8_t offset) {
  Stt stt;
  stt.gpsUtcOffset = offset;
  return stt;
}

Event Programme(std::uint16_t id, std::uint32_t start, const std::string& title) {
  return {.eventId = id, .start = start, .length = 1800, .title = Builder::Latin1Mss(title)};
}

std::vector<std::string> Titles(const std::vector<GuideEvent>& events) {
  std::vector<std::string> titles;
  for (const GuideEvent& e : events) titles.push_back(std::to_string(e.sourceId) + ":" + e.title);
  return titles;
}

using Titled = std::vector<std::string>;

}  // namespace

TEST(GuideCollectorTest, TakesEachEitWhenWholeAndANewVersionReplacesIt) {
  GuideCollector guide;
  const Stt stt = SttWithOffset(18);
  const auto s0 = Builder::Eit(3, 4, {Programme(1, 1'300'000'000, "News")}, 0, 2);
  const auto s1 = Builder::Eit(3, 4, {Programme(2, 1'300'001'800, "Weather")}, 1, 2);
  const auto s2 = Builder::Eit(3, 4, {Programme(3, 1'300'003'600, "Film")}, 2, 2);
  guide.Feed(kEit0Pid, s0);  // no MGT yet: nothing is listed
  EXPECT_EQ(guide.Generation(), 0u);

  guide.SetMgt(GuideMgt());
  guide.Feed(kEit0Pid, s2);
  guide.Feed(kEit0Pid, s2);
  auto badCrc = s0;
  badCrc[15] ^= 0x40;
  guide.Feed(kEit0Pid, badCrc);
  guide.Feed(kEit0Pid, std::span(s0).first(20));
  guide.Feed(kEtt0Pid, s0);   // a PID listed for texts only
  guide.Feed(0x1E10, s0);     // and one for the channels' texts
  guide.Feed(0x1D05, s0);     // not listed
  guide.Feed(kEit0Pid, Builder::Eit(3, 5, {Programme(9, 1, "Next")}, 0, 0, false));  // not current
  guide.Feed(kEit0Pid, s1);
  EXPECT_TRUE(guide.Events(stt).empty());
  EXPECT_EQ(guide.Generation(), 0u);
  EXPECT_EQ(guide.DamagedSections(), 2);

  guide.Feed(kEit0Pid, s0);
  const auto events = guide.Events(stt);
  EXPECT_EQ(Titles(events), (Titled{"3:News", "3:Weather", "3:Film"}));
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0], (GuideEvent{3, 1, 1'615'964'782, 1800, "News", ""}));
  EXPECT_EQ(guide.Generation(), 1u);
  for (const auto& repeat : {s0, s1, s2}) guide.Feed(kEit0Pid, repeat);
  EXPECT_EQ(guide.Generation(), 1u);

  // Another channel on the same PID is its own table, and the next three
  // hours' table on its own PID lists the film again: it is given once.
  guide.Feed(kEit0Pid, Builder::Eit(1, 0, {Programme(7, 1'300'000'000, "Cartoons")}));
  const std::vector<Event> nextHours{Programme(3, 1'300'003'600, "Film"), Programme(4, 1'300'010'000, "Late")};
  guide.Feed(kEit1Pid, Builder::Eit(3, 0, nextHours));
  EXPECT_EQ(Titles(guide.Events(stt)), (Titled{"1:Cartoons", "3:News", "3:Weather", "3:Film", "3:Late"}));
  EXPECT_EQ(guide.Generation(), 3u);

  // A new version in two sections: the old events stay until it is whole.
  guide.Feed(kEit0Pid, Builder::Eit(3, 5, {Programme(2, 1'300'001'800, "Weather")}, 0, 1));
  EXPECT_EQ(guide.Events(stt).size(), 5u);
  guide.Feed(kEit0Pid, Builder::Eit(3, 5, {Programme(5, 1'300'003'600, "Sport")}, 1, 1));
  EXPECT_EQ(Titles(guide.Events(stt)), (Titled{"1:Cartoons", "3:Weather", "3:Film", "3:Sport", "3:Late"}));
  EXPECT_EQ(guide.Generation(), 4u);
  // The same events under yet another version change nothing for a reader.
  guide.Feed(kEit1Pid, Builder::Eit(3, 1, nextHours));
  EXPECT_EQ(guide.Generation(), 4u);

  // An MGT that no longer lists EIT-1's PID drops what came on it.
  Mgt shorter = GuideMgt();
  std::erase_if(shorter.tables, [](const MgtEntry& e) { return e.pid == kEit1Pid; });
  guide.SetMgt(shorter);
  EXPECT_EQ(Titles(guide.Events(stt)), (Titled{"1:Cartoons", "3:Weather", "3:Sport"}));
  EXPECT_EQ(guide.Generation(), 5u);
  guide.SetMgt(shorter);
  EXPECT_EQ(guide.Generation(), 5u);
  EXPECT_EQ(guide.DamagedSections(), 2);
  EXPECT_EQ(guide.DroppedSections(), 0);
}

TEST(GuideCollectorTest, TheUtcStartFollowsTheGpsUtcOffsetOfTheStt) {
  GuideCollector guide;
  guide.SetMgt(GuideMgt());
  guide.Feed(kEit0Pid, Builder::Eit(3, 0, {Programme(1, 1'000'000'000, "News")}));
  // 1'000'000'000 GPS seconds is 2011-09-14 01:46:40 GPS time.
  EXPECT_EQ(guide.Events(SttWithOffset(15)).at(0).startUtc, 1'315'964'785);
  EXPECT_EQ(guide.Events(SttWithOffset(16)).at(0).startUtc, 1'315'964'784);
}

TEST(GuideCollectorTest, DescriptionsComeFromTheEventsTexts) {
  GuideCollector guide;
  guide.SetMgt(GuideMgt());
  const Stt stt = SttWithOffset(18);
  guide.Feed(kEit0Pid, Builder::Eit(3, 0, {Programme(1, 1000, "News"), Programme(2, 2800, "Film")}));
  const auto generation = guide.Generation();

  guide.Feed(kEtt0Pid, Builder::Ett(EventEtmId(3, 9), Builder::Latin1Mss("Not listed yet.")));
  guide.Feed(kEtt0Pid, Builder::Ett(EventEtmId(3, 1) & ~0x3u, Builder::Latin1Mss("A channel's text.")));
  guide.Feed(kEit0Pid, Builder::Ett(EventEtmId(3, 2), Builder::Latin1Mss("On an EIT's PID.")));
  EXPECT_EQ(guide.Generation(), generation);
  auto events = guide.Events(stt);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].description, "");
  EXPECT_EQ(events[1].description, "");

  const auto text = Builder::Ett(EventEtmId(3, 1), Builder::Mss({{"fra", {{0, 0, {'F', 'r'}}}},
                                                                 {"eng", {{0, 0, {'E', 'n'}}}}}));
  guide.Feed(kEtt0Pid, text);
  EXPECT_EQ(guide.Generation(), generation + 1);
  guide.Feed(kEtt0Pid, text);
  EXPECT_EQ(guide.Generation(), generation + 1);
  EXPECT_EQ(guide.Events(stt)[0].description, "En");
  EXPECT_EQ(guide.Events(stt, "fra")[0].description, "Fr");
  guide.Feed(kEtt0Pid, Builder::Ett(EventEtmId(3, 1), Builder::Latin1Mss("Changed."), 1));
  EXPECT_EQ(guide.Events(stt)[0].description, "Changed.");
  EXPECT_EQ(guide.Generation(), generation + 2);

  // The text that came before its event is used once the event is listed.
  guide.Feed(kEit0Pid, Builder::Eit(3, 1, {Programme(9, 1000, "Late addition")}));
  events = guide.Events(stt);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].description, "Not listed yet.");
  EXPECT_EQ(guide.DamagedSections(), 0);
}

TEST(GuideCollectorTest, ChannelsTablesAndTextsAreCapped) {
  GuideCollector guide;
  Mgt mgt;
  for (std::uint16_t k = 0; k < 129; ++k) mgt.tables.push_back({0x0100, std::uint16_t(0x1000 + k), 0, 0, {}});
  mgt.tables.push_back({0x0200, kEtt0Pid, 0, 0, {}});
  guide.SetMgt(mgt);
  for (std::uint16_t k = 0; k < 129; ++k) guide.Feed(0x1000 + k, Builder::Eit(1, 0, {}));
  EXPECT_EQ(guide.DroppedSections(), 1);  // a 129th table of one channel
  for (std::uint16_t source = 2; source <= 65; ++source) guide.Feed(0x1000, Builder::Eit(source, 0, {}));
  EXPECT_EQ(guide.DroppedSections(), 2);  // a 65th channel
  guide.Feed(0x1000, Builder::Eit(2, 1, {Programme(1, 1000, "Kept")}));  // a held table still changes
  EXPECT_EQ(guide.DroppedSections(), 2);

  // Texts of events nobody lists are dropped to make room; texts of listed
  // events are not, so past the cap a new text is refused.
  for (std::uint32_t id = 0; id < 8192; ++id) guide.Feed(kEtt0Pid, Builder::Ett(EventEtmId(3, id), {0}));
  EXPECT_EQ(guide.DroppedSections(), 2);
  for (std::uint8_t section = 0; section < 33; ++section) {
    std::vector<Event> events;
    for (unsigned i = 0; i < 250; ++i) {
      events.push_back({.eventId = std::uint16_t(section * 250 + i), .start = 5000});
    }
    guide.Feed(0x1001, Builder::Eit(3, 0, events, section, 32));
  }
  for (std::uint16_t id = 0; id < 8192; ++id) {
    guide.Feed(kEtt0Pid, Builder::Ett(EventEtmId(3, id), Builder::Latin1Mss("T" + std::to_string(id))));
  }
  EXPECT_EQ(guide.DroppedSections(), 2);
  guide.Feed(kEtt0Pid, Builder::Ett(EventEtmId(3, 8192), Builder::Latin1Mss("One too many")));
  EXPECT_EQ(guide.DroppedSections(), 3);
  guide.Feed(kEtt0Pid, Builder::Ett(EventEtmId(3, 8191), Builder::Latin1Mss("Replaced")));
  EXPECT_EQ(guide.DroppedSections(), 3);

  const auto events = guide.Events(SttWithOffset(0));
  ASSERT_EQ(events.size(), 1u + 8250u);
  EXPECT_EQ(events[1].description, "T0");
  EXPECT_EQ(events[8192].description, "Replaced");
  EXPECT_EQ(events[8193].description, "");
}
