#include "core/schedule/EventEnd.h"

#include <gtest/gtest.h>

#include <array>

#include "core/schedule/ScheduleEvent.h"

namespace {

CivilTime At(int day, int hour, int minute, int second = 0) { return {2031, 3, day, hour, minute, second}; }

}  // namespace

TEST(EventEnd, FromTheStartTheEndLiesOnItsDayOrTheNext) {
  EXPECT_EQ(EventEndFrom(At(8, 20, 0), 21, 0), At(8, 21, 0));
  EXPECT_EQ(EventEndFrom(At(8, 23, 30), 0, 15), At(9, 0, 15));  // across midnight
  EXPECT_EQ(EventEndFrom(At(31, 23, 30), 0, 15), (CivilTime{2031, 4, 1, 0, 15, 0}));
  EXPECT_EQ(EventEndFrom(At(8, 10, 30), 10, 29), At(9, 10, 29));  // 23:59 long
  EXPECT_EQ(EventEndFrom(At(8, 10, 30), 10, 30), At(8, 10, 30));  // no length at all
  // The same rule as the schedule's own intervals.
  ScheduleEvent e;
  e.year = 2031; e.month = 12; e.day = 31;
  for (const auto& [sh, sm, eh, em] : {std::array{22, 0, 1, 0}, std::array{1, 0, 22, 0},
                                       std::array{5, 5, 5, 5}, std::array{5, 5, 5, 4}}) {
    e.startHour = sh; e.startMinute = sm; e.endHour = eh; e.endMinute = em;
    EXPECT_EQ(EventEndFrom(EventStart(e), eh, em), IntervalOf(e).end) << sh << ":" << sm;
  }
}

TEST(EventEnd, AStartCommandThatComesLateKeepsTheEventsOwnEnd) {
  // reclive.txt 20 0 21 0, the command 40 minutes late: still 21:00, not 21:40.
  EXPECT_EQ(EventEndForStart(At(8, 20, 40, 12), 20, 0, 21, 0), At(8, 21, 0));
  // Spring forward: 02:30-03:30 started when the clock came back at 03:00.
  EXPECT_EQ(EventEndForStart(At(9, 3, 0, 11), 2, 30, 3, 30), At(9, 3, 30));
  // An end that has passed stays passed; it is not rolled to tomorrow.
  EXPECT_EQ(EventEndForStart(At(9, 3, 0, 11), 2, 10, 2, 40), At(9, 2, 40));
  // Across midnight, the command on either side of it.
  EXPECT_EQ(EventEndForStart(At(8, 23, 59, 59), 0, 0, 0, 30), At(9, 0, 30));
  EXPECT_EQ(EventEndForStart(At(9, 0, 0, 5), 23, 59, 0, 30), At(9, 0, 30));
  EXPECT_EQ(NearestTimeOfDay(At(9, 0, 0, 5), 23, 59), At(8, 23, 59));
  EXPECT_EQ(NearestTimeOfDay(At(8, 23, 59, 50), 0, 0), At(9, 0, 0));
  EXPECT_EQ(NearestTimeOfDay(At(8, 12, 0), 0, 0), At(8, 0, 0));
}

TEST(EventEnd, TheSilentRecordersEndFollowsTheHandOff) {
  // Handed over five seconds before 20:00: ends at 21:00, at 20:00 for an
  // event of no length, the next day for one across midnight or 23:59 long.
  EXPECT_EQ(EventEndAfterHandOff(At(8, 19, 59, 55), 21, 0), At(8, 21, 0));
  EXPECT_EQ(EventEndAfterHandOff(At(8, 19, 59, 55), 20, 0), At(8, 20, 0));
  EXPECT_EQ(EventEndAfterHandOff(At(8, 19, 59, 55), 19, 59), At(9, 19, 59));
  EXPECT_EQ(EventEndAfterHandOff(At(8, 23, 59, 55), 0, 30), At(9, 0, 30));
  // The file time may be off by a second or two either way.
  EXPECT_EQ(EventEndAfterHandOff(At(8, 19, 59, 57), 19, 59), At(9, 19, 59));
  EXPECT_EQ(EventEndAfterHandOff(At(8, 19, 59, 53), 20, 0), At(8, 20, 0));
  // Handed over late, seconds before its end (the clock came back over the
  // start): the end is the one just ahead, never tomorrow's.
  EXPECT_EQ(EventEndAfterHandOff(At(9, 3, 0, 1), 3, 1), At(9, 3, 1));
  EXPECT_EQ(EventEndAfterHandOff(At(9, 3, 0, 59), 3, 1), At(9, 3, 1));
  EXPECT_EQ(EventEndAfterHandOff(At(9, 3, 0, 1), 3, 30), At(9, 3, 30));
}
