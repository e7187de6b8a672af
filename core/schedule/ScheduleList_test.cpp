#include "core/schedule/ScheduleList.h"

#include <gtest/gtest.h>

#include "core/schedule/ScheduleRow.h"

namespace {

// An event on 2008-01-07 (a Monday) unless moved with On().
ScheduleEvent Event(int startHour, int startMinute, int endHour, int endMinute,
                    EventType type = EventType::RecordLive,
                    EventFrequency frequency = EventFrequency::Once) {
  ScheduleEvent e;
  e.dayOfWeek = 2; e.month = 1; e.day = 7; e.year = 2008;
  e.channel1 = 33; e.channel2 = 7; e.channel3 = 1;
  e.startHour = startHour; e.startMinute = startMinute;
  e.endHour = endHour; e.endMinute = endMinute;
  e.type = type; e.frequency = frequency;
  return e;
}

ScheduleEvent On(ScheduleEvent e, int year, int month, int day) {
  return WithStartDate(e, CivilTime{year, month, day, 0, 0, 0});
}

const CivilTime kMondayMorning{2008, 1, 7, 8, 0, 0};

}  // namespace

TEST(ScheduleList, IntervalAndDisplayedDuration) {
  const EventInterval overnight = IntervalOf(Event(23, 0, 1, 0));
  EXPECT_EQ(overnight.end, (CivilTime{2008, 1, 8, 1, 0, 0}));
  // 10:30-10:15 ends the next day, 23:45 later, as its duration shows.
  const ScheduleEvent backwards = Event(10, 30, 10, 15);
  EXPECT_EQ(IntervalOf(backwards).end, (CivilTime{2008, 1, 8, 10, 15, 0}));
  EXPECT_EQ(IntervalOf(Event(10, 30, 10, 30)).end, (CivilTime{2008, 1, 7, 10, 30, 0}));
  EXPECT_EQ(DisplayedDurationOf(backwards).hours, 23);
  EXPECT_EQ(DisplayedDurationOf(backwards).minutes, 45);
  EXPECT_EQ(DisplayedDurationOf(Event(23, 30, 0, 15)).hours, 0);
  EXPECT_EQ(DisplayedDurationOf(Event(23, 30, 0, 15)).minutes, 45);
}

TEST(ScheduleList, ValidationMessagesInOrder) {
  ScheduleList list;
  // Saturday 12 January, daily, also in the past: the weekday rule comes first.
  ScheduleEvent saturday = On(Event(9, 0, 10, 0, EventType::RecordLive, EventFrequency::DailyWeekdays), 2008, 1, 12);
  EXPECT_EQ(list.Validate(saturday, CivilTime{2008, 1, 12, 11, 0, 0}), "DAY IS NOT M-F");
  EXPECT_EQ(list.Validate(Event(8, 0, 9, 0), kMondayMorning), "START TIME HAS PASSED");
  EXPECT_EQ(list.Validate(Event(7, 59, 9, 0), kMondayMorning), "START TIME HAS PASSED");
  EXPECT_EQ(list.Validate(Event(8, 1, 8, 1), kMondayMorning), "NO DURATION SPECIFIED");
  EXPECT_EQ(list.Validate(Event(8, 1, 8, 1, EventType::WatchLive), kMondayMorning), std::nullopt);
  EXPECT_EQ(list.Validate(Event(8, 1, 8, 1, EventType::Timeshift), kMondayMorning), std::nullopt);
  // Days before today are refused; any later day is offered, with no last day.
  EXPECT_EQ(list.Validate(On(Event(9, 0, 10, 0), 2008, 1, 6), kMondayMorning), "START TIME HAS PASSED");
  EXPECT_EQ(list.Validate(On(Event(9, 0, 10, 0), 2031, 6, 2), kMondayMorning), std::nullopt);
  EXPECT_TRUE(IsSelectableDate(CivilTime{2040, 1, 1, 0, 0, 0}, CivilTime{2026, 12, 7, 23, 59, 0}));
  EXPECT_FALSE(IsSelectableDate(CivilTime{2026, 12, 6, 23, 59, 0}, CivilTime{2026, 12, 7, 0, 0, 0}));
}

TEST(ScheduleList, OverlapRules) {
  ScheduleList list({Event(20, 0, 21, 30), Event(23, 0, 1, 0)});
  // Touching ends are accepted on both sides.
  EXPECT_EQ(list.Validate(Event(21, 30, 22, 0), kMondayMorning), std::nullopt);
  EXPECT_EQ(list.Validate(Event(19, 0, 20, 0), kMondayMorning), std::nullopt);
  EXPECT_EQ(list.Validate(Event(21, 29, 22, 0), kMondayMorning), "START TIME BETWEEN EXISTING TIME");
  EXPECT_EQ(list.Validate(Event(19, 0, 20, 1), kMondayMorning), "END TIME BETWEEN EXISTING TIME");
  // 23:00-01:00 runs into the next day and holds 00:30 there.
  EXPECT_EQ(list.Validate(On(Event(0, 30, 2, 0), 2008, 1, 8), kMondayMorning),
            "START TIME BETWEEN EXISTING TIME");
  // Editing an event may keep its own time.
  EXPECT_EQ(list.Validate(Event(20, 0, 21, 30), kMondayMorning, 0), std::nullopt);
  // 10:30-10:15 holds the time up to 10:15 the next day: nothing can be
  // booked inside it.
  ScheduleList backwards({Event(10, 30, 10, 15)});
  EXPECT_EQ(backwards.Validate(Event(10, 35, 11, 0), kMondayMorning), "START TIME BETWEEN EXISTING TIME");
  EXPECT_EQ(backwards.Validate(On(Event(10, 15, 11, 0), 2008, 1, 8), kMondayMorning), std::nullopt);
}

TEST(ScheduleList, InsertKeepsStartOrderAndLimits) {
  ScheduleList list;
  EXPECT_EQ(list.Insert(Event(20, 0, 21, 0)), 0u);
  EXPECT_EQ(list.Insert(Event(10, 0, 11, 0)), 0u);
  ScheduleEvent same = Event(10, 0, 10, 30);
  same.channel1 = 99;
  EXPECT_EQ(list.Insert(same), 1u);  // equal starts: after the existing one
  // The 51st event is refused with a message and the list stays as it was.
  ScheduleList full;
  for (int i = 0; i < 50; ++i) full.Insert(On(Event(9, 0, 9, 30), 2008, 2, 1 + i % 28));
  EXPECT_EQ(full.Insert(Event(9, 0, 9, 30)), std::nullopt);
  const auto refused = full.Add(On(Event(12, 0, 12, 30), 2009, 1, 5), kMondayMorning);
  EXPECT_FALSE(refused.index);
  EXPECT_EQ(refused.message, "CAN'T ADD EVENT: THE SCHEDULE HOLDS 50 EVENTS");
  EXPECT_EQ(full.Count(), 50u);
  // Replacing an event of a full list is still possible.
  EXPECT_TRUE(full.Add(On(Event(12, 0, 12, 30), 2009, 1, 5), kMondayMorning, 0).index);
  // A folder longer than the 199-character slot is refused.
  ScheduleEvent longFolder = Event(12, 0, 13, 0);
  longFolder.folder = std::string(200, 'x');
  EXPECT_EQ(ScheduleList().Add(longFolder, kMondayMorning).message, "FOLDER LONGER THAN 199 CHARACTERS");
  longFolder.folder.pop_back();
  EXPECT_TRUE(ScheduleList().Add(longFolder, kMondayMorning).index);
}

TEST(ScheduleList, AdvanceAfterRun) {
  // DAILY(M-F) on Friday moves to Monday; the date fields follow.
  ScheduleList daily({On(Event(20, 0, 21, 0, EventType::RecordLive, EventFrequency::DailyWeekdays), 2008, 1, 11)});
  auto result = daily.Advance(0, ScheduleList::AdvanceKind::AfterRun);
  EXPECT_EQ(result.outcome, ScheduleList::AdvanceResult::Outcome::Moved);
  EXPECT_EQ(daily.At(0).day, 14);
  EXPECT_EQ(daily.At(0).dayOfWeek, 2);
  // ONCE is removed; WEEKLY moves 7 days and is re-sorted.
  ScheduleList mixed({Event(9, 0, 10, 0, EventType::RecordLive, EventFrequency::Weekly), Event(11, 0, 12, 0),
                      On(Event(9, 0, 10, 0), 2008, 1, 10)});
  result = mixed.Advance(0, ScheduleList::AdvanceKind::AfterRun);
  EXPECT_EQ(result.newIndex, 2u);
  EXPECT_EQ(mixed.At(2).day, 14);
  EXPECT_EQ(mixed.Advance(0, ScheduleList::AdvanceKind::AfterRun).outcome,
            ScheduleList::AdvanceResult::Outcome::Removed);
  EXPECT_EQ(mixed.Count(), 2u);
  // A conflict with a later event leaves the event as it was.
  ScheduleList conflict({Event(20, 0, 21, 0, EventType::RecordLive, EventFrequency::Weekly), On(Event(20, 30, 21, 30), 2008, 1, 14)});
  result = conflict.Advance(0, ScheduleList::AdvanceKind::AfterRun);
  EXPECT_EQ(result.outcome, ScheduleList::AdvanceResult::Outcome::Conflict);
  EXPECT_EQ(result.message, "END TIME BETWEEN EXISTING TIME");
  EXPECT_EQ(conflict.At(0), Event(20, 0, 21, 0, EventType::RecordLive, EventFrequency::Weekly));
  // SKIP WEEK always moves 7 days, a daily event too.
  ScheduleList skip({On(Event(20, 0, 21, 0, EventType::RecordLive, EventFrequency::DailyWeekdays), 2008, 1, 11)});
  skip.Advance(0, ScheduleList::AdvanceKind::SkipWeek);
  EXPECT_EQ(skip.At(0).day, 18);
}

TEST(ScheduleList, CleanUpOfPastEvents) {
  const CivilTime now{2008, 1, 16, 12, 0, 0};  // a Wednesday
  ScheduleList list({
      Event(9, 0, 10, 0),                                              // past, once: dropped
      On(Event(20, 0, 21, 0, EventType::RecordLive, EventFrequency::DailyWeekdays), 2008, 1, 11),  // Fri -> Wed 16 20:00
      Event(8, 0, 9, 0, EventType::RecordSilent, EventFrequency::Weekly),                      // Mon 7 -> Mon 21
      On(Event(13, 0, 14, 0), 2008, 1, 16),                            // future: kept
  });
  EXPECT_TRUE(list.CleanUp(now));
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.At(0).startHour, 13);
  EXPECT_EQ(list.At(1).day, 16);
  EXPECT_EQ(list.At(1).dayOfWeek, 4);
  EXPECT_EQ(list.At(2).day, 21);
  EXPECT_FALSE(list.CleanUp(now));
  // A daily event whose time today has passed goes to the next weekday.
  ScheduleList friday({On(Event(9, 0, 10, 0, EventType::RecordLive, EventFrequency::DailyWeekdays), 2008, 1, 11)});
  friday.CleanUp(CivilTime{2008, 1, 11, 9, 0, 30});
  EXPECT_EQ(friday.At(0).day, 14);
}

TEST(ScheduleList, ChannelMatchAndRowTexts) {
  const std::vector<ChannelEntry> channels = {{"KAAA", 33, 7, 2}, {"KBBB", 33, 7, -1}};
  ScheduleEvent e = Event(20, 0, 21, 30, EventType::RecordLive, EventFrequency::Weekly);
  e.folder = "D:\\Recordings";
  EXPECT_EQ(FindEventChannel(channels, e), 1u);  // -1 matches 1 and the reverse
  e.channel3 = -2;
  EXPECT_EQ(FindEventChannel(channels, e), 0u);
  e.channel3 = 3;
  EXPECT_EQ(FindEventChannel(channels, e), std::nullopt);
  e.channel3 = 1;

  const ScheduleRow row = ScheduleRow::ForScheduler(e, channels);
  EXPECT_EQ(row.date, "Mon, Jan 7, 2008");
  EXPECT_EQ(row.channel, "KBBB  7-1");
  EXPECT_EQ(row.start, "8:00 PM");
  EXPECT_EQ(row.end, "9:30 PM");
  EXPECT_EQ(row.duration, "01:30");
  EXPECT_EQ(row.type, "RECORD- LIVE");
  EXPECT_EQ(row.frequency, "WEEKLY");
  EXPECT_EQ(row.whenDone, "CLOSE");
  EXPECT_EQ(row.saveTo, "D:\\Recordings");
  const ScheduleRow tab = ScheduleRow::ForViewer(e);
  EXPECT_EQ(tab.channel, "7-1");
  EXPECT_EQ(tab.type, "RECORD-LIVE");
  EXPECT_EQ(EventClockText(0, 5), "12:05 AM");
  EXPECT_EQ(EventClockText(8, 0), "08:00 AM");
  EXPECT_EQ(EventClockText(12, 0), "12:00 PM");
  EXPECT_EQ(EventClockText(22, 9), "10:09 PM");
  EXPECT_STREQ(SchedulerTypeText(EventType::RecordSilent), "RECORD- SILENT");
  EXPECT_STREQ(ViewerTypeText(EventType::RecordSilent), "RECORD-SILENT");
  EXPECT_STREQ(SchedulerTypeText(static_cast<EventType>(7)), "");
}

TEST(ScheduleList, EventToTuneSkipsPastEventsAtTheHead) {
  // A weekly event that ran (20:00-21:00) stays at the head; the next one
  // starts when it ends.
  const std::vector<ScheduleEvent> events = {Event(9, 0, 9, 30), Event(20, 0, 21, 0, EventType::RecordLive, EventFrequency::Weekly),
                                             Event(21, 0, 22, 0), Event(23, 0, 23, 30)};
  EXPECT_EQ(FindEventToTune(events, CivilTime{2008, 1, 7, 20, 59, 50}), 2u);
  EXPECT_EQ(FindEventToTune(events, CivilTime{2008, 1, 7, 21, 20, 0}), 2u);   // a late hand-off
  EXPECT_EQ(FindEventToTune(events, CivilTime{2008, 1, 7, 22, 59, 50}), 3u);
  EXPECT_EQ(FindEventToTune(events, CivilTime{2008, 1, 7, 12, 0, 0}), 1u);    // none soon: the next one
  EXPECT_EQ(FindEventToTune(events, CivilTime{2008, 1, 8, 0, 0, 0}), std::nullopt);
  // The clock came back over 21:00's start at 21:59:10 and the event is
  // handed over late, 50 s before 22:00's start: it is still the one meant.
  const std::vector<ScheduleEvent> late = {Event(21, 0, 22, 0), Event(22, 0, 23, 0)};
  EXPECT_EQ(FindEventToTune(late, CivilTime{2008, 1, 7, 21, 59, 11}), 0u);
  EXPECT_EQ(FindEventToTune(late, CivilTime{2008, 1, 7, 21, 59, 50}), 1u);  // 22:00's own hand-off
}

TEST(ScheduleList, CleanUpDoesNotMoveAnEventOntoAnother) {
  // After a week off, the weekly 20:00-21:00 would land on a one-time event
  // booked at 20:30 that day: it stays where it was, with the overlap message,
  // as when the engine moves it on after a run.
  const CivilTime now{2008, 1, 14, 12, 0, 0};  // Monday
  ScheduleList list({Event(20, 0, 21, 0, EventType::RecordLive, EventFrequency::Weekly),
                     On(Event(20, 30, 21, 30), 2008, 1, 14)});
  std::vector<std::string> conflicts;
  EXPECT_FALSE(list.CleanUp(now, &conflicts));
  EXPECT_EQ(conflicts, std::vector<std::string>{"END TIME BETWEEN EXISTING TIME"});
  EXPECT_EQ(list.At(0).day, 7);
  // Once the booked event is gone, the next clean-up moves it.
  list.Remove(1);
  EXPECT_TRUE(list.CleanUp(now, &conflicts));
  EXPECT_EQ(list.At(0).day, 14);
}

TEST(ScheduleList, AnEditIsSavedOverTheEditedEventWhereverItNowStands) {
  const ScheduleEvent first = Event(9, 0, 10, 0);
  const ScheduleEvent edited = Event(11, 0, 12, 0, EventType::WatchLive);
  const ScheduleEvent last = Event(13, 0, 14, 0);
  ScheduleList list({first, edited, last});
  // While the form is open the first event runs and is removed: the edited
  // one moves up to row 0 and row 1 now holds another event.
  list.Remove(0);
  ScheduleEvent changed = edited;
  changed.startHour = changed.endHour = 12;
  changed.startMinute = changed.endMinute = 30;
  const auto saved = list.ReplaceEdited(edited, changed, kMondayMorning);
  ASSERT_EQ(saved.index, std::size_t{0});
  EXPECT_EQ(list.Events(), (std::vector<ScheduleEvent>{changed, last}));
  // The overlap test skips the edited event itself, not the event at its old row.
  ScheduleEvent longer = last;
  longer.endHour = 15;
  EXPECT_EQ(list.ReplaceEdited(last, longer, kMondayMorning).index, std::size_t{1});
  EXPECT_EQ(list.At(1), longer);
  // An edited event that ran and moved on, or was removed, is gone.
  const auto gone = list.ReplaceEdited(last, Event(16, 0, 17, 0), kMondayMorning);
  EXPECT_EQ(gone.index, std::nullopt);
  EXPECT_EQ(gone.message, "EVENT HAS ALREADY RUN OR BEEN REMOVED");
  EXPECT_EQ(list.Events(), (std::vector<ScheduleEvent>{changed, longer}));
}
