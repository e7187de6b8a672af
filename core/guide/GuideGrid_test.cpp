#include "core/guide/GuideGrid.h"

#include <gtest/gtest.h>

#include "core/testing/UsEasternZone.h"

namespace {

std::vector<std::string> TextsOf(const std::vector<GridColumn>& columns) {
  std::vector<std::string> texts;
  for (const GridColumn& c : columns) texts.push_back(c.text);
  return texts;
}

}  // namespace

TEST(GuideGridTest, ColumnsStartAtTheCurrentLocalHalfHour) {
  const UsEasternZone zone;
  // An ordinary summer evening: 7:47:15 PM EDT.
  const std::int64_t now = Utc(2025, 6, 1, 23, 47, 15);
  const std::int64_t start = CurrentHalfHourStart(now, zone);
  EXPECT_EQ(start, Utc(2025, 6, 1, 23, 30));
  const GuideGrid grid(start, 600);
  const auto columns = grid.Columns(zone);
  EXPECT_EQ(TextsOf(columns), (std::vector<std::string>{"7:30 PM", "8:00 PM", "8:30 PM", "9:00 PM",
                                                         "9:30 PM", "10:00 PM"}));
  EXPECT_EQ(columns[1].x, 100);
  EXPECT_EQ(columns[5].startUtc, Utc(2025, 6, 2, 2, 0));

  // Spring forward: from 1:10 AM EST the grid skips the hour that does not exist.
  const std::int64_t spring = CurrentHalfHourStart(Utc(2025, 3, 9, 6, 10), zone);
  EXPECT_EQ(spring, Utc(2025, 3, 9, 6, 0));
  EXPECT_EQ(TextsOf(GuideGrid(spring, 600).Columns(zone)),
            (std::vector<std::string>{"1:00 AM", "1:30 AM", "3:00 AM", "3:30 AM", "4:00 AM",
                                      "4:30 AM"}));

  // Fall back: in the second 1:40 AM (EST) the grid starts at the second 1:30
  // AM, not at the first one an hour earlier.
  const std::int64_t secondPass = Utc(2025, 11, 2, 6, 40);
  EXPECT_EQ(CurrentHalfHourStart(secondPass, zone), Utc(2025, 11, 2, 6, 30));
  // From 12:30 AM EDT the repeated hour is shown twice, in the order it is lived.
  const std::int64_t autumn = CurrentHalfHourStart(Utc(2025, 11, 2, 4, 45), zone);
  EXPECT_EQ(TextsOf(GuideGrid(autumn, 600).Columns(zone)),
            (std::vector<std::string>{"12:30 AM", "1:00 AM", "1:30 AM", "1:00 AM", "1:30 AM",
                                      "2:00 AM"}));
}

TEST(GuideGridTest, PresentLineAndProgrammesAreClippedToTheGrid) {
  const std::int64_t start = Utc(2025, 6, 1, 23, 30);
  const GuideGrid grid(start, 540);  // 3 pixels a minute
  EXPECT_EQ(grid.PresentX(start + 17 * 60 + 20), 52);
  EXPECT_EQ(grid.PresentX(start - 1), std::nullopt);
  EXPECT_EQ(grid.PresentX(grid.EndUtc()), std::nullopt);
  EXPECT_EQ(grid.TimeAt(90), start + 30 * 60);
  EXPECT_EQ(grid.TimeAt(-5), start);

  const GuideProgramme before{7, 1, 1, start - 3600, 5400, "Began earlier", ""};
  const GuideProgramme after{7, 1, 2, start + 2 * 3600, 7200, "Runs past the grid", ""};
  const GuideProgramme gone{7, 1, 3, start - 3600, 3600, "Ended at the grid's start", ""};
  const auto first = grid.SpanOf(before);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->left, 0);
  EXPECT_EQ(first->right, 90);
  EXPECT_TRUE(first->startsBefore);
  EXPECT_FALSE(first->endsAfter);
  const auto second = grid.SpanOf(after);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->left, 360);
  EXPECT_EQ(second->right, 540);
  EXPECT_TRUE(second->endsAfter);
  EXPECT_FALSE(grid.SpanOf(gone));

  const std::vector<GuideProgramme> guide = {gone, before, after};
  EXPECT_EQ(FindProgrammeAt(guide, 7, 1, grid.TimeAt(0)), 1u);
  EXPECT_EQ(FindProgrammeAt(guide, 7, 1, grid.TimeAt(100)), std::nullopt);  // a gap
  EXPECT_EQ(FindProgrammeAt(guide, 7, 1, grid.TimeAt(360)), 2u);
  EXPECT_EQ(FindProgrammeAt(guide, 7, 2, grid.TimeAt(360)), std::nullopt);  // another channel
}

TEST(GuideGridTest, EarlierAndLaterStayWithinNowAndTheGuideData) {
  const UsEasternZone zone;
  const std::int64_t now = Utc(2025, 6, 1, 23, 47);
  const std::int64_t first = Utc(2025, 6, 1, 23, 30);
  const std::vector<GuideProgramme> guide = {
      {7, 1, 1, first, 3600, "Now", ""},
      {7, 1, 2, first + 6 * 3600, 1800, "Last", ""},  // the data ends at first + 6:30
  };
  EXPECT_EQ(EarlierGridStart(first, now, zone), std::nullopt);
  const auto later = LaterGridStart(first, guide);
  ASSERT_EQ(later, first + 3 * 3600);
  const auto latest = LaterGridStart(*later, guide);
  ASSERT_EQ(latest, first + 6 * 3600);
  EXPECT_EQ(LaterGridStart(*latest, guide), std::nullopt);
  EXPECT_EQ(LaterGridStart(first, {}), std::nullopt);

  // Back by three hours, but not past the current half hour.
  EXPECT_EQ(EarlierGridStart(*latest, now, zone), first + 3 * 3600);
  EXPECT_EQ(EarlierGridStart(first + 3600, now, zone), first);
}
