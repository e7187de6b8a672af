#include "core/guide/GuideListTexts.h"

#include <gtest/gtest.h>

#include "core/testing/UsEasternZone.h"

TEST(GuideListTextsTest, ProgrammeRowsShowLocalDayTimeAndLength) {
  const UsEasternZone zone;
  const GuideProgramme news{7, 1, 1, Utc(2025, 6, 3, 23, 30), 1790, "News at Six", ""};
  const ProgrammeListRow row = ProgrammeListRowOf(news, zone);
  EXPECT_EQ(row.time, "Tue Jun 3 7:30 PM");
  EXPECT_EQ(row.length, "0:30");
  EXPECT_EQ(row.title, "News at Six");
  // Standard time in winter; past midnight local is the next day.
  EXPECT_EQ(ListTimeText(Utc(2025, 12, 6, 5, 5), zone), "Sat Dec 6 12:05 AM");
}

TEST(GuideListTextsTest, SeriesRowsListRefusedShowingsUnderTheirRule) {
  const UsEasternZone zone;
  const SeriesRules series({
      {7, 1, "News", {{Utc(2025, 6, 3, 23, 30), ""}, {Utc(2025, 6, 4, 23, 30), "START TIME BETWEEN EXISTING TIME"}}},
      {12, 3, "Film", {}},
  });
  const std::vector<ChannelEntry> channels{{"WSVN", 7, 7, -1}};
  const auto rows = SeriesListRows(series, channels, zone);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].rule, 0u);
  EXPECT_EQ(rows[0].channel, "WSVN 7-1");
  EXPECT_EQ(rows[0].text, "News");
  EXPECT_EQ(rows[1].rule, 0u);
  EXPECT_EQ(rows[1].channel, "");
  EXPECT_EQ(rows[1].text, "  refused Wed Jun 4 7:30 PM: START TIME BETWEEN EXISTING TIME");
  // A channel that channels.txt no longer holds is shown by its number.
  EXPECT_EQ(rows[2].rule, 1u);
  EXPECT_EQ(rows[2].channel, "12-3");
  EXPECT_EQ(rows[2].text, "Film");
}
