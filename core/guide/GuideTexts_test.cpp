#include "core/guide/GuideTexts.h"

#include <gtest/gtest.h>

#include "core/testing/UsEasternZone.h"

TEST(GuideTextsTest, ProgrammesAcrossMidnightAndClockChangesShowTheirLocalTimes) {
  const UsEasternZone zone;
  const GuideProgramme lateShow{7, 1, 1, Utc(2025, 6, 2, 3, 30), 3600, "Late show", ""};
  EXPECT_EQ(ProgrammeTimesText(lateShow, zone), "11:30 PM - 12:30 AM");
  EXPECT_EQ(ProgrammeDayText(lateShow, zone), "Sun, Jun 1, 2025");
  EXPECT_EQ(LocalTimesOf(lateShow, zone).end, (CivilTime{2025, 6, 2, 0, 30, 0}));

  // One hour across the start of summer time: the clock moves on two.
  const GuideProgramme spring{7, 1, 2, Utc(2025, 3, 9, 6, 30), 3600, "Spring", ""};
  EXPECT_EQ(ProgrammeTimesText(spring, zone), "1:30 AM - 3:30 AM");
  EXPECT_EQ(ProgrammeLengthText(spring.lengthSeconds), "1:00");

  // One hour across its end: the clock shows the same time at both ends.
  const GuideProgramme autumn{7, 1, 3, Utc(2025, 11, 2, 5, 30), 3600, "Autumn", ""};
  EXPECT_EQ(ProgrammeTimesText(autumn, zone), "1:30 AM - 1:30 AM");
  EXPECT_EQ(ProgrammeDayText(autumn, zone), "Sun, Nov 2, 2025");
  EXPECT_EQ(ProgrammeLengthText(autumn.lengthSeconds), "1:00");
}

TEST(GuideTextsTest, LengthsCountAStartedMinute) {
  EXPECT_EQ(ProgrammeLengthText(5400), "1:30");
  EXPECT_EQ(ProgrammeLengthText(241), "0:05");
  EXPECT_EQ(ProgrammeLengthText(0), "0:00");
  EXPECT_EQ(ProgrammeLengthText(100 * 3600), "100:00");
}
