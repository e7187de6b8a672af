#include "viewer/record/RecordClock.h"

#include <gtest/gtest.h>

namespace {

CivilTime At(int day, int hour, int minute, int second = 0) {
  return CivilTime{2026, 12, day, hour, minute, second};
}

}  // namespace

TEST(RecordClockTest, RecordDialogTurnsStopTimesIntoDurationsAndBack) {
  // At 22:50, 0:20 records until 23:10, which the picker shows as 11:10 PM.
  const CivilTime stop = StopTimeAfter(At(8, 22, 50), {0, 20});
  EXPECT_EQ(stop, At(8, 23, 10));
  EXPECT_EQ(RecordingClock(stop, {0, 20}).StopText(), "11:10 PM");
  // At 23:50, 12:10 AM is 0:20 away.
  EXPECT_EQ(DurationUntil(23, 50, 0, 10), (ClockSpan{0, 20}));
  EXPECT_EQ(DurationLabel(DurationUntil(23, 50, 0, 10)), "DURATION: 0:20");
  EXPECT_EQ(DurationLabel({1, 15}), "DURATION: 1:15");
  // The same time of day is a whole day away; one minute earlier 23:59.
  EXPECT_EQ(DurationUntil(10, 45, 10, 44), (ClockSpan{23, 59}));
  EXPECT_EQ(DurationUntil(10, 45, 12, 0), (ClockSpan{1, 15}));
  EXPECT_EQ(StopTimeAfter(At(8, 23, 30), {1, 0}), At(9, 0, 30));
}

TEST(RecordClockTest, AddingTimeMovesTheStopAndLengthensThePlan) {
  // 1:30 from 20:00; adding 0:45 shows 2:15:00 and stops at 22:15.
  RecordingClock clock(At(8, 21, 30), {1, 30});
  EXPECT_EQ(clock.DurationText(), "1:30:00");
  EXPECT_EQ(clock.StopText(), "9:30 PM");
  clock.AddTime({0, 45});
  EXPECT_EQ(clock.DurationText(), "2:15:00");
  EXPECT_EQ(clock.StopText(), "10:15 PM");
  clock.AddTime({0, 0});
  EXPECT_EQ(clock.DurationText(), "2:15:00");
  // The picker's 11:05 PM is 0:50 after 10:15 PM; 9:00 AM wraps the day.
  EXPECT_EQ(AddedUntil(22, 15, 23, 5), (ClockSpan{0, 50}));
  EXPECT_EQ(AddedUntil(22, 15, 9, 0), (ClockSpan{10, 45}));
}

TEST(RecordClockTest, ElapsedClockCountsToTheStopTimePastMidnight) {
  // 0:02 from 23:59 stops when the clock reads 00:01 on the next day.
  RecordingClock clock(At(9, 0, 1), {0, 2});
  EXPECT_EQ(clock.StopText(), "12:01 AM");
  EXPECT_EQ(clock.ElapsedText(), "00:00");
  CivilTime now = At(8, 23, 59);
  int ticks = 0;
  bool stopped = false;
  while (!stopped && ticks < 200) {
    now = AddSeconds(now, 1);
    stopped = clock.Tick(now);
    ++ticks;
    if (ticks == 9) {
      EXPECT_EQ(clock.ElapsedText(), "0:00:09");
    }
    if (ticks == 61) {
      EXPECT_EQ(clock.Progress(), 50);
    }
  }
  EXPECT_TRUE(stopped);
  EXPECT_EQ(ticks, 120);
  EXPECT_EQ(clock.ElapsedText(), "0:02:00");
  EXPECT_EQ(clock.Progress(), 100);
  clock.Tick(AddSeconds(now, 1));
  EXPECT_EQ(clock.Progress(), 100);  // never past the end of the bar
}

TEST(RecordClockTest, ElapsedClockKeepsToTheMeasuredTimeWhenTicksAreMissed) {
  RecordingClock clock(At(9, 10, 0), {0, 10});
  const CivilTime now = At(9, 0, 0);
  clock.Tick(AddSeconds(now, 1), 1);
  // A busy window missed four ticks: the next shows the time measured.
  EXPECT_FALSE(clock.Tick(AddSeconds(now, 6), 6));
  EXPECT_EQ(clock.ElapsedText(), "0:00:06");
  EXPECT_EQ(clock.Progress(), 1);
  // A tick that comes early never takes the clock back.
  clock.Tick(AddSeconds(now, 6), 5);
  EXPECT_EQ(clock.ElapsedText(), "0:00:06");
  EXPECT_TRUE(clock.Tick(At(9, 10, 0), 600));
  EXPECT_EQ(clock.Progress(), 100);
}

TEST(RecordClockTest, TheStopHoldsWhenTheClockMovesForwardOverIt) {
  // A recording of 01:30-02:30 on the day summer time begins: the clock
  // shows 01:59:59, then 03:00:00, and never 02:30. It stops there, not a day later.
  RecordingClock clock(At(8, 2, 30), {1, 0});
  EXPECT_FALSE(clock.Tick(At(8, 1, 59, 59)));
  EXPECT_TRUE(clock.Tick(At(8, 3, 0, 0)));
  // A stop with seconds (a duration from a time with seconds) stops at the
  // start of its minute, as the clock shows it.
  RecordingClock fromDialog(At(8, 21, 0, 37), {1, 0});
  EXPECT_FALSE(fromDialog.Tick(At(8, 20, 59, 59)));
  EXPECT_TRUE(fromDialog.Tick(At(8, 21, 0, 0)));
}
