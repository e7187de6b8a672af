#include "core/guide/GuideMerge.h"

#include <gtest/gtest.h>

#include "core/testing/UsEasternZone.h"
#include "core/testing/VirtualChannels.h"

namespace {

const std::int64_t kNine = Utc(2025, 6, 1, 21, 0);  // 21:00 UTC, in the block 21:00-24:00

GuideProgramme Programme(int major, int minor, std::uint16_t id, std::int64_t start,
                         std::uint32_t length, std::string title) {
  return {major, minor, id, start, length, std::move(title), ""};
}

std::vector<std::string> TitlesOf(const std::vector<GuideProgramme>& guide) {
  std::vector<std::string> titles;
  for (const GuideProgramme& p : guide) titles.push_back(p.title);
  return titles;
}

}  // namespace

TEST(GuideMergeTest, StationEventsReachTheirChannelsThroughTheChannelTable) {
  Tvct tvct;
  tvct.channels = {Tv("WAAA", 7, 1), Tv("WAAA-2", 7, 2), Tv("MIRROR", 7, 9)};
  tvct.channels[0].sourceId = 1;
  tvct.channels[1].sourceId = 2;
  tvct.channels[2].sourceId = 1;  // a second channel carrying the same source
  const std::vector<GuideEvent> events = {
      {1, 10, kNine, 1800, "News", "Local news"},
      {2, 11, kNine, 3600, "Film", ""},
      {3, 12, kNine, 3600, "Unlisted", ""},  // no channel carries source 3
  };
  EXPECT_EQ(ProgrammesOfStation(events, tvct),
            (std::vector<GuideProgramme>{{7, 1, 10, kNine, 1800, "News", "Local news"},
                                         {7, 9, 10, kNine, 1800, "News", "Local news"},
                                         {7, 2, 11, kNine, 3600, "Film", ""}}));
}

TEST(GuideMergeTest, NewVersionReplacesOnlyWhatItCoversOnItsOwnChannel) {
  std::vector<GuideProgramme> guide = {
      Programme(7, 1, 1, kNine, 1800, "Old news"),
      Programme(7, 1, 2, kNine + 1800, 1800, "Old quiz"),            // moved later in the new version
      Programme(7, 1, 3, kNine + 5400, 3600, "Old film"),            // overlapped by the moved quiz
      Programme(7, 1, 4, kNine + 4 * 3600, 1800, "Tomorrow's news"),  // not covered: stays
      Programme(7, 1, 2, kNine + 3 * 3600, 1800, "Same id, next table"),
      Programme(9, 1, 1, kNine, 1800, "Other channel"),
  };
  const std::vector<GuideProgramme> fresh = {
      Programme(7, 1, 1, kNine, 1800, "New news"),
      Programme(7, 1, 2, kNine + 2 * 3600, 1800, "New quiz"),
  };
  MergeProgrammes(guide, fresh);
  EXPECT_EQ(TitlesOf(guide), (std::vector<std::string>{"Tomorrow's news", "Same id, next table",
                                                        "Other channel", "New news", "New quiz"}));

  // Merging the same version again changes nothing.
  const auto before = guide;
  MergeProgrammes(guide, fresh);
  EXPECT_EQ(TitlesOf(guide), TitlesOf(before));

  // Touching ends are no overlap.
  MergeProgrammes(guide, {Programme(9, 1, 7, kNine + 1800, 600, "Next on 9-1")});
  EXPECT_EQ(guide.size(), before.size() + 1);

  // Within one version too, a later programme replaces an earlier one.
  MergeProgrammes(guide, {Programme(9, 1, 8, kNine + 3600, 600, "First word"),
                          Programme(9, 1, 8, kNine + 3900, 600, "Last word")});
  EXPECT_EQ(guide.back().title, "Last word");
  EXPECT_EQ(guide.size(), before.size() + 2);
}
