#include "core/guide/GuideChannelProgrammes.h"

#include <gtest/gtest.h>

#include "core/testing/UsEasternZone.h"

namespace {

const std::int64_t kEvening = Utc(2025, 6, 1, 23, 30);  // 7:30 PM EDT

// Channel 7-1 out of start order, with 7-2 and 9-1 between.
std::vector<GuideProgramme> Guide() {
  return {
      {7, 1, 12, kEvening + 3600, 1800, "Late Show", ""},
      {7, 2, 30, kEvening, 3600, "Other subchannel", ""},
      {7, 1, 10, kEvening - 1800, 1800, "Ended", ""},
      {7, 1, 11, kEvening, 3600, "News", ""},
      {9, 1, 40, kEvening + 7200, 600, "Later elsewhere", ""},
  };
}

}  // namespace

TEST(GuideChannelProgrammesTest, RowsKeepTheirChannelInStartOrderAndSelectionsMove) {
  const auto guide = Guide();
  const ChannelEntry seven{"WSVN", 7, 7, 1};
  EXPECT_EQ(ChannelProgrammes(guide, seven), (std::vector<std::size_t>{2, 3, 0}));
  // An entry without a minor number (-1) is the station's channel 1.
  EXPECT_EQ(ChannelProgrammes(guide, ChannelEntry{"WSVN", 7, 7, -1}),
            (std::vector<std::size_t>{2, 3, 0}));
  EXPECT_TRUE(ChannelProgrammes(guide, ChannelEntry{"X", 3, 3, 1}).empty());

  // A programme is on from its start up to, not including, its end.
  EXPECT_EQ(ChannelProgrammeAt(guide, seven, kEvening), 3u);
  EXPECT_EQ(ChannelProgrammeAt(guide, seven, kEvening - 1), 2u);
  EXPECT_EQ(ChannelProgrammeAt(guide, seven, kEvening + 3600), 0u);
  EXPECT_EQ(ChannelProgrammeAt(guide, seven, kEvening + 5400), std::nullopt);

  // Moving to another row: what runs then, else the next start before the limit.
  const ChannelEntry nine{"WFOR", 9, 9, 1};
  EXPECT_EQ(ChannelProgrammeNear(guide, nine, kEvening, kEvening + 3 * 3600), 4u);
  EXPECT_EQ(ChannelProgrammeNear(guide, nine, kEvening, kEvening + 7200), std::nullopt);

  EXPECT_EQ(NeighbourProgramme(guide, seven, 3, +1), 0u);
  EXPECT_EQ(NeighbourProgramme(guide, seven, 3, -1), 2u);
  EXPECT_EQ(NeighbourProgramme(guide, seven, 2, -1), std::nullopt);
  EXPECT_EQ(NeighbourProgramme(guide, seven, 0, +1), std::nullopt);
  EXPECT_EQ(NeighbourProgramme(guide, seven, 1, +1), std::nullopt);  // not on the row
}

TEST(GuideChannelProgrammesTest, SelectionSurvivesAGuideReadAgain) {
  const GuideProgramme news{7, 1, 11, kEvening, 3600, "News", ""};
  std::vector<GuideProgramme> again = Guide();
  again.erase(again.begin());  // indices move
  EXPECT_EQ(FindSameProgramme(again, news), 2u);
  // Renumbered by the station: found by its slot and title.
  again[2].eventId = 99;
  EXPECT_EQ(FindSameProgramme(again, news), 2u);
  // Another programme in the slot, or the slot moved: gone.
  again[2].title = "Special Report";
  EXPECT_EQ(FindSameProgramme(again, news), std::nullopt);
  again = Guide();
  again[3].startUtc += 300;
  EXPECT_EQ(FindSameProgramme(again, news), std::nullopt);
}

TEST(GuideChannelProgrammesTest, GridMovesByWholeWidthsToShowAProgramme) {
  const std::int64_t first = kEvening;
  const std::int64_t hours = 3600;
  const auto at = [](std::int64_t start, std::uint32_t length) {
    return GuideProgramme{7, 1, 1, start, length, "P", ""};
  };
  // Already on the grid, even only by its tail: the grid stays.
  EXPECT_EQ(GridStartShowing(at(first + 2 * hours, 1800), first, first), first);
  EXPECT_EQ(GridStartShowing(at(first + 3 * hours - 60, 7200), first, first), first);
  // Later: whole grid widths on, so the columns stay the same half hours.
  EXPECT_EQ(GridStartShowing(at(first + 3 * hours, 1800), first, first), first + 3 * hours);
  EXPECT_EQ(GridStartShowing(at(first + 10 * hours, 1800), first, first), first + 9 * hours);
  // Earlier from a later grid, but never before the current half hour.
  EXPECT_EQ(GridStartShowing(at(first + 4 * hours, 1800), first + 9 * hours, first), first + 3 * hours);
  EXPECT_EQ(GridStartShowing(at(first - hours, 7200), first + 6 * hours, first), first);
  EXPECT_EQ(GridStartShowing(at(first - 2 * hours, 1800), first + 6 * hours, first), first);
}
