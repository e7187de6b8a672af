#include "core/time/TimeTexts.h"

#include <gtest/gtest.h>

TEST(TimeTextsTest, LogStampHasNoLeadingZeros) {
  EXPECT_EQ(LogTimeStamp({2026, 12, 6, 20, 5, 9}), "12/6/2026-20:5:9");
  EXPECT_EQ(LogTimeStamp({2027, 1, 1, 0, 0, 0}), "1/1/2027-0:0:0");
}

TEST(TimeTextsTest, TwelveHourTextsAroundMidnightAndNoon) {
  EXPECT_EQ(HourText12(0), "12");
  EXPECT_STREQ(AmPm(0), "AM");
  EXPECT_EQ(HourText12(9), "09");
  EXPECT_EQ(HourText12(11), "11");
  EXPECT_EQ(HourText12(12), "12");
  EXPECT_STREQ(AmPm(12), "PM");
  EXPECT_EQ(HourText12(13), "01");
  EXPECT_EQ(HourText12(21), "09");
  EXPECT_EQ(HourText12(22), "10");
  EXPECT_EQ(HourText12(23), "11");
  EXPECT_EQ(ClockText12(0, 5), "12:05 AM");
  EXPECT_EQ(ClockText12(22, 0), "10:00 PM");
}

TEST(TimeTextsTest, DurationsAsHoursMinutesSeconds) {
  EXPECT_EQ(DurationText(3725), "1:02:05");
  EXPECT_EQ(DurationText(59), "0:00:59");
  EXPECT_EQ(DurationText(36000 + 600 + 10), "10:10:10");
  EXPECT_EQ(DurationText(-5), "0:00:00");
}

TEST(TimeTextsTest, DayAndMonthNames) {
  EXPECT_STREQ(DayName(1), "Sun");
  EXPECT_STREQ(DayName(7), "Sat");
  EXPECT_STREQ(DayName(0), "");
  EXPECT_STREQ(MonthName(12), "Dec");
  EXPECT_STREQ(MonthName(13), "");
}

TEST(CivilTimeTest, CalendarArithmetic) {
  const CivilTime sunday{2026, 12, 6, 20, 5, 9};
  EXPECT_EQ(DayOfWeek(sunday), 1);
  EXPECT_EQ(DayOfWeek({2026, 12, 12, 0, 0, 0}), 7);
  EXPECT_EQ(AddSeconds({2026, 12, 31, 23, 59, 59}, 1), (CivilTime{2027, 1, 1, 0, 0, 0}));
  EXPECT_EQ(AddDays({2028, 2, 28, 10, 0, 0}, 1), (CivilTime{2028, 2, 29, 10, 0, 0}));
  EXPECT_EQ(SecondsBetween({2026, 12, 6, 23, 0, 0}, {2026, 12, 7, 0, 30, 0}), 5400);
  EXPECT_TRUE((CivilTime{2026, 12, 6, 0, 0, 0}) < (CivilTime{2026, 12, 6, 0, 0, 1}));
  EXPECT_FALSE(IsValidCivilTime({2026, 2, 29, 0, 0, 0}));
  EXPECT_FALSE(IsValidCivilTime({2026, 12, 6, 24, 0, 0}));
  EXPECT_TRUE(IsValidCivilTime({2028, 2, 29, 23, 59, 59}));
}
