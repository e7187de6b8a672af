#include "core/guide/SeriesPlanner.h"

#include <gtest/gtest.h>

#include "core/schedule/ScheduleList.h"
#include "core/testing/UsEasternZone.h"

namespace {

const std::vector<ChannelEntry> kChannels = {{"WAAA", 33, 7, -1}, {"WBBB", 41, 9, 2}};
const std::string kFolder = "D:\\Recordings\\";
// Sunday 1 June 2025, 12:00 PM EDT.
const std::int64_t kNow = Utc(2025, 6, 1, 16, 0);

GuideProgramme Showing(int major, int minor, std::int64_t startUtc, std::uint32_t length,
                       std::string title) {
  return {major, minor, 1, startUtc, length, std::move(title), ""};
}

// The event's date and times as "month/day/year h:mm-h:mm".
std::string When(const ScheduleEvent& e) {
  return std::to_string(e.month) + "/" + std::to_string(e.day) + "/" + std::to_string(e.year) +
         " " + std::to_string(e.startHour) + ":" + std::to_string(e.startMinute) + "-" +
         std::to_string(e.endHour) + ":" + std::to_string(e.endMinute);
}

}  // namespace

TEST(SeriesPlannerTest, EachNewShowingIsHandedOnce) {
  const UsEasternZone zone;
  const SeriesPlanner planner(kChannels, {}, kFolder, zone);
  SeriesRules rules;
  ASSERT_FALSE(rules.AddRule(7, 1, "News"));
  const std::vector<GuideProgramme> guide = {
      Showing(7, 1, Utc(2025, 6, 2, 22, 0), 1800, "News"),  // Monday 6:00 PM
      Showing(7, 1, kNow, 1800, "News"),                     // starts now: passed over
      Showing(7, 1, Utc(2025, 6, 1, 22, 0), 1800, "News"),  // Sunday 6:00 PM
      Showing(7, 1, Utc(2025, 6, 1, 22, 0), 1800, "News"),  // listed twice
      Showing(7, 1, Utc(2025, 6, 1, 23, 0), 1800, "News at Ten"),
      Showing(9, 2, Utc(2025, 6, 1, 20, 0), 1800, "News"),   // another channel
      Showing(7, 1, Utc(2025, 6, 3, 22, 0), 1800, "News"),  // Tuesday, already scheduled
  };
  ScheduleEvent scheduled;  // Tuesday's showing, added by hand with the same padding
  scheduled.dayOfWeek = 3; scheduled.month = 6; scheduled.day = 3; scheduled.year = 2025;
  scheduled.channel1 = 33; scheduled.channel2 = 7; scheduled.channel3 = 1;
  scheduled.startHour = 17; scheduled.startMinute = 59; scheduled.endHour = 18; scheduled.endMinute = 32;

  const auto first = planner.PlanShowings(rules, guide, {scheduled}, kNow);
  ASSERT_EQ(first.handOvers.size(), 2u);
  EXPECT_TRUE(first.rulesChanged);
  EXPECT_EQ(When(first.handOvers[0].event), "6/1/2025 17:59-18:32");  // earliest first
  EXPECT_EQ(When(first.handOvers[1].event), "6/2/2025 17:59-18:32");
  EXPECT_EQ(first.handOvers[0].event.channel1, 33);
  EXPECT_EQ(first.handOvers[0].event.channel3, -1);
  EXPECT_EQ(first.handOvers[0].programme.startUtc, Utc(2025, 6, 1, 22, 0));
  // The scheduled one is known as handed too; nothing is handed a second time.
  EXPECT_EQ(rules.Rules()[0].showings.size(), 3u);
  const auto second = planner.PlanShowings(rules, guide, {scheduled}, kNow);
  EXPECT_TRUE(second.handOvers.empty());
  EXPECT_FALSE(second.rulesChanged);

  // Taken back unread: planned again.
  rules.Forget(7, 1, "News", Utc(2025, 6, 2, 22, 0));
  const auto again = planner.PlanShowings(rules, guide, {scheduled}, kNow);
  ASSERT_EQ(again.handOvers.size(), 1u);
  EXPECT_EQ(again.handOvers[0].programme.startUtc, Utc(2025, 6, 2, 22, 0));
}

TEST(SeriesPlannerTest, AnOverlapRefusalIsListedAndNotRetried) {
  const UsEasternZone zone;
  const SeriesPlanner planner(kChannels, {}, kFolder, zone);
  SeriesRules rules;
  ASSERT_FALSE(rules.AddRule(9, 2, "Film"));
  const std::vector<GuideProgramme> guide = {Showing(9, 2, Utc(2025, 6, 1, 23, 0), 3600, "Film")};
  // The scheduler holds a recording from 6:30 to 8:00 PM on another channel.
  ScheduleList list;
  ScheduleEvent other;
  other.dayOfWeek = 1; other.month = 6; other.day = 1; other.year = 2025;
  other.channel1 = 33; other.channel2 = 7; other.channel3 = -1;
  other.startHour = 18; other.startMinute = 30; other.endHour = 20; other.endMinute = 0;
  ASSERT_TRUE(list.Insert(other));

  const auto plan = planner.PlanShowings(rules, guide, list.Events(), kNow);
  ASSERT_EQ(plan.handOvers.size(), 1u);
  const SeriesHandOver& showing = plan.handOvers[0];
  EXPECT_EQ(When(showing.event), "6/1/2025 18:59-20:2");
  const auto answer = list.Add(showing.event, CivilTime{2025, 6, 1, 12, 0, 0});
  ASSERT_FALSE(answer.index);
  rules.RecordRefused(showing.programme.major, showing.programme.minor, showing.programme.title,
                      showing.programme.startUtc, answer.message);

  const SeriesShowing* listed = rules.Rules()[0].FindShowing(Utc(2025, 6, 1, 23, 0));
  ASSERT_TRUE(listed);
  EXPECT_EQ(listed->refusal, "START TIME BETWEEN EXISTING TIME");
  // New guide data with the same showing: it is not offered again.
  EXPECT_TRUE(planner.PlanShowings(rules, guide, list.Events(), kNow).handOvers.empty());
  EXPECT_EQ(SeriesRules::Format(rules.Rules()),
            "RULE 9 2 Film\nREFUSED 1748818800 START TIME BETWEEN EXISTING TIME\n");
}

TEST(SeriesPlannerTest, PaddingAcrossMidnightAndRecordingsThatCannotBeMade) {
  const UsEasternZone zone;
  const SeriesPlanner planner(kChannels, {5, 10}, kFolder, zone);
  SeriesRules rules;
  ASSERT_FALSE(rules.AddRule(7, 1, "Late"));
  ASSERT_FALSE(rules.AddRule(7, 1, "Marathon"));
  ASSERT_FALSE(rules.AddRule(8, 1, "Nowhere"));  // a channel channels.txt does not hold
  const std::vector<GuideProgramme> guide = {
      Showing(7, 1, Utc(2025, 6, 2, 4, 0), 1800, "Late"),         // 12:00 to 12:30 AM on Monday
      Showing(7, 1, Utc(2025, 6, 2, 3, 40), 1800, "Late"),        // 11:40 PM Sunday to 12:10 AM
      Showing(7, 1, Utc(2025, 6, 2, 12, 0), 25 * 3600, "Marathon"),
      Showing(8, 1, Utc(2025, 6, 2, 12, 0), 1800, "Nowhere"),
  };
  const auto plan = planner.PlanShowings(rules, guide, {}, kNow);
  ASSERT_EQ(plan.handOvers.size(), 2u);
  // Five minutes early moves midnight back to Sunday; ten late ends on Monday.
  EXPECT_EQ(When(plan.handOvers[0].event), "6/1/2025 23:35-0:20");
  EXPECT_EQ(When(plan.handOvers[1].event), "6/1/2025 23:55-0:40");
  EXPECT_EQ(plan.handOvers[1].event.dayOfWeek, 1);
  EXPECT_EQ(IntervalOf(plan.handOvers[1].event).end, (CivilTime{2025, 6, 2, 0, 40, 0}));
  // A showing too long for one event is listed with the reason, not handed.
  EXPECT_EQ(rules.Rules()[1].showings.at(0).refusal, "PROGRAMME TOO LONG TO RECORD AS ONE EVENT");
  // Without a channel entry nothing is decided yet.
  EXPECT_TRUE(rules.Rules()[2].showings.empty());
}
