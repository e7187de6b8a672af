#include "core/guide/ScheduledMark.h"

#include <gtest/gtest.h>

#include "core/testing/UsEasternZone.h"

namespace {

ScheduleEvent EventOn(int year, int month, int day, int startHour, int startMinute, int endHour,
                      int endMinute, EventFrequency frequency = EventFrequency::Once) {
  ScheduleEvent event;
  event.year = year;
  event.month = month;
  event.day = day;
  event.dayOfWeek = DayOfWeek(CivilTime{year, month, day});
  event.channel1 = 7;
  event.channel2 = 7;
  event.channel3 = 1;
  event.startHour = startHour;
  event.startMinute = startMinute;
  event.endHour = endHour;
  event.endMinute = endMinute;
  event.frequency = frequency;
  return event;
}

}  // namespace

TEST(ScheduledMarkTest, APaddedRecordingMarksItsProgrammeNotTheNextOne) {
  const UsEasternZone zone;
  const ChannelEntry seven{"WSVN", 7, 7, 1};
  // News 7:00-8:00 PM EDT on Sunday June 1, then a film 8:00-10:00 PM.
  const GuideProgramme news{7, 1, 1, Utc(2025, 6, 1, 23, 0), 3600, "News", ""};
  const GuideProgramme film{7, 1, 2, Utc(2025, 6, 2, 0, 0), 7200, "Film", ""};
  const std::vector<ScheduleEvent> padded{EventOn(2025, 6, 1, 18, 59, 20, 2)};
  EXPECT_TRUE(IsProgrammeScheduled(news, seven, padded, zone));
  EXPECT_FALSE(IsProgrammeScheduled(film, seven, padded, zone));
  // The entry without a minor number is channel 7-1 as well; 7-2 is not.
  EXPECT_TRUE(IsProgrammeScheduled(news, ChannelEntry{"WSVN", 7, 7, -1}, padded, zone));
  EXPECT_FALSE(IsProgrammeScheduled(news, ChannelEntry{"WSVN2", 7, 7, 2}, padded, zone));
  // Started after the programme began: not a recording of it.
  EXPECT_FALSE(IsProgrammeScheduled(news, seven, {EventOn(2025, 6, 1, 19, 5, 20, 0)}, zone));
  // Cut short by hand but most of it kept: still marked.
  EXPECT_TRUE(IsProgrammeScheduled(news, seven, {EventOn(2025, 6, 1, 19, 0, 19, 45)}, zone));
  // Another day.
  EXPECT_FALSE(IsProgrammeScheduled(news, seven, {EventOn(2025, 6, 2, 18, 59, 20, 2)}, zone));
}

TEST(ScheduledMarkTest, RepeatingEventsMarkEachOfTheirDays) {
  const UsEasternZone zone;
  const ChannelEntry seven{"WSVN", 7, 7, 1};
  // 11:30 PM - 12:30 AM EDT, on Sunday June 1 and on later days.
  const auto lateShow = [](int day) {
    return GuideProgramme{7, 1, 1, Utc(2025, 6, day, 3, 30) + 86400, 3600, "Late", ""};
  };
  const ScheduleEvent weekly = EventOn(2025, 6, 1, 23, 29, 0, 32, EventFrequency::Weekly);
  EXPECT_TRUE(IsProgrammeScheduled(lateShow(1), seven, {weekly}, zone));
  EXPECT_TRUE(IsProgrammeScheduled(lateShow(15), seven, {weekly}, zone));
  EXPECT_FALSE(IsProgrammeScheduled(lateShow(16), seven, {weekly}, zone));
  // Not before the event's own date.
  ScheduleEvent later = weekly;
  later.day = 8;
  EXPECT_FALSE(IsProgrammeScheduled(lateShow(1), seven, {later}, zone));
  // Weekdays: Monday June 2 yes, Saturday June 7 no.
  const ScheduleEvent weekdays = EventOn(2025, 6, 2, 23, 29, 0, 32, EventFrequency::DailyWeekdays);
  EXPECT_TRUE(IsProgrammeScheduled(lateShow(2), seven, {weekdays}, zone));
  EXPECT_TRUE(IsProgrammeScheduled(lateShow(6), seven, {weekdays}, zone));
  EXPECT_FALSE(IsProgrammeScheduled(lateShow(7), seven, {weekdays}, zone));
  // A programme that starts after midnight, inside the occurrence begun the day before.
  const GuideProgramme afterMidnight{7, 1, 3, Utc(2025, 6, 10, 4, 0), 1200, "Short", ""};
  EXPECT_TRUE(IsProgrammeScheduled(afterMidnight, seven,
                                   {EventOn(2025, 6, 2, 23, 50, 0, 30, EventFrequency::DailyWeekdays)}, zone));
}
