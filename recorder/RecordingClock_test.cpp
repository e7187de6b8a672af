#include "recorder/RecordingClock.h"

#include <gtest/gtest.h>

namespace {

CivilTime At(int year, int month, int day, int hour, int minute, int second) {
  return CivilTime{year, month, day, hour, minute, second};
}

TEST(RecordingClockTest, EventEndingAtTenStartedHalfAMinuteEarly) {
  const CivilTime start = At(2026, 12, 7, 20, 59, 30);
  const RecordingClock clock = RecordingClock::ForEvent(start, AddSeconds(start, -4), 22, 0);
  EXPECT_EQ("1:00:30", clock.PlannedText());
  EXPECT_EQ("10:00 PM", clock.StopText());
  EXPECT_FALSE(clock.ReachedStop(At(2026, 12, 7, 21, 59, 59)));
  EXPECT_TRUE(clock.ReachedStop(At(2026, 12, 7, 22, 0, 0)));
  // The planned duration ends exactly at the stop.
  EXPECT_EQ(At(2026, 12, 7, 22, 0, 0), AddSeconds(start, clock.PlannedSeconds()));
}

TEST(RecordingClockTest, SecondsRule) {
  // At second 0 the span stays whole; otherwise a minute is broken into.
  EXPECT_EQ(3600, PlannedSecondsOf({1, 0}, 0));
  EXPECT_EQ(3599, PlannedSecondsOf({1, 0}, 1));
  EXPECT_EQ(59 * 60 + 30, PlannedSecondsOf({1, 0}, 30));
  EXPECT_EQ(4 * 60 + 1, PlannedSecondsOf({0, 5}, 59));
  // No whole minute left and no hour to take one from.
  EXPECT_EQ(59 * 60 + 50, PlannedSecondsOf({0, 0}, 10));
}

TEST(RecordingClockTest, BorrowRuleAndClockArithmetic) {
  EXPECT_EQ((HoursMinutes{1, 1}), SpanBetween(20, 59, 22, 0));
  EXPECT_EQ((HoursMinutes{0, 30}), SpanBetween(23, 45, 0, 15));
  EXPECT_EQ((HoursMinutes{23, 59}), SpanBetween(10, 30, 10, 29));
  EXPECT_EQ((HoursMinutes{0, 0}), SpanBetween(8, 0, 8, 0));
  EXPECT_EQ((HoursMinutes{1, 10}), TimeOfDayAfter(23, 40, {1, 30}));
  EXPECT_EQ((HoursMinutes{9, 5}), TimeOfDayAfter(8, 50, {0, 15}));
}

TEST(RecordingClockTest, EventCrossingMidnightStopsOnTheNextDay) {
  const CivilTime start = At(2026, 12, 31, 23, 59, 59);
  const RecordingClock clock = RecordingClock::ForEvent(start, AddSeconds(start, -4), 0, 30);
  EXPECT_EQ("0:30:01", clock.PlannedText());
  EXPECT_EQ("12:30 AM", clock.StopText());
  // Half past midnight of the same day is long gone: not a stop.
  EXPECT_FALSE(clock.ReachedStop(At(2027, 1, 1, 0, 29, 59)));
  EXPECT_TRUE(clock.ReachedStop(At(2027, 1, 1, 0, 30, 0)));
  EXPECT_EQ(At(2027, 1, 1, 0, 30, 0), clock.Stop());
  // A tick that comes late (the machine was busy) still stops it.
  EXPECT_TRUE(clock.ReachedStop(At(2027, 1, 1, 0, 31, 4)));
}

TEST(RecordingClockTest, EventEndingInTheCurrentMinuteStopsAtOnce) {
  const RecordingClock clock =
      RecordingClock::ForEvent(At(2026, 3, 2, 9, 15, 20), At(2026, 3, 2, 9, 14, 55), 9, 15);
  EXPECT_TRUE(clock.ReachedStop(At(2026, 3, 2, 9, 15, 21)));
}

TEST(RecordingClockTest, ARecordingStartedLateStopsAtItsEventsEnd) {
  // Spring forward: 02:45-03:20, handed over when the clock came back at
  // 03:00:01, the recorder up at 03:00:06. It stops at 03:20 that day.
  const RecordingClock late =
      RecordingClock::ForEvent(At(2030, 3, 10, 3, 0, 6), At(2030, 3, 10, 3, 0, 1), 3, 20);
  EXPECT_EQ(At(2030, 3, 10, 3, 20, 0), late.Stop());
  EXPECT_EQ("0:19:54", late.PlannedText());
  // 20:00-20:01, handed over at 19:59:55; the recorder came up only at
  // 20:02:10 (an old one slow to close, a busy machine). The end has passed:
  // it stops at once, not tomorrow at 20:01 with the tuner held all day.
  const RecordingClock passed =
      RecordingClock::ForEvent(At(2030, 6, 3, 20, 2, 10), At(2030, 6, 3, 19, 59, 55), 20, 1);
  EXPECT_EQ(At(2030, 6, 3, 20, 1, 0), passed.Stop());
  EXPECT_TRUE(passed.ReachedStop(At(2030, 6, 3, 20, 2, 11)));
  EXPECT_EQ(0, passed.PlannedSeconds());
}

TEST(RecordingClockTest, RecordingByHandAndChange) {
  RecordingClock clock = RecordingClock::ForSpan(At(2026, 6, 1, 23, 50, 20), {0, 15});
  EXPECT_EQ(At(2026, 6, 2, 0, 5, 0), clock.Stop());
  EXPECT_EQ("0:14:40", clock.PlannedText());
  clock.Extend({1, 50});
  EXPECT_EQ(At(2026, 6, 2, 1, 55, 0), clock.Stop());
  EXPECT_EQ("2:04:40", clock.PlannedText());
  EXPECT_EQ("1:55 AM", clock.StopText());
}

TEST(ElapsedTimeTest, TextProgressAndHiding) {
  ElapsedTime elapsed;
  EXPECT_EQ("00:00", elapsed.Text());
  for (int i = 0; i < 7; ++i) elapsed.Tick();
  EXPECT_FALSE(elapsed.HideNow());
  elapsed.Tick();
  EXPECT_TRUE(elapsed.HideNow());
  EXPECT_EQ("0:00:08", elapsed.Text());
  EXPECT_EQ(13, elapsed.Percent(60));
  elapsed.Tick();
  EXPECT_FALSE(elapsed.HideNow());
  EXPECT_EQ(100, elapsed.Percent(0));  // nothing planned: no division by zero
  EXPECT_EQ(100, elapsed.Percent(5));
  for (int i = 0; i < 3600; ++i) elapsed.Tick();
  EXPECT_EQ("1:00:09", elapsed.Text());
}

}  // namespace
