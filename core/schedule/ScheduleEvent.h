#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/time/CivilTime.h"

// Codes of the event fields 12-14: the positions of the texts in the
// scheduler window's drop-down lists, in that order.
enum EventTypeCode : int { kRecordLive = 0, kRecordSilent = 1, kWatchLive = 2, kTimeshift = 3 };
enum FrequencyCode : int { kOnce = 0, kDailyWeekdays = 1, kWeekly = 2 };
enum WhenDoneCode : int { kCloseWhenDone = 0, kKeepOpen = 1, kShutdownWhenDone = 2 };

// The longest folder an event can hold (a 200-character slot with its end).
inline constexpr std::size_t kMaxEventFolderLength = 199;

// One event of schedule.txt: fourteen integers and the "SAVE TO" folder.
struct ScheduleEvent {
  int dayOfWeek = 1;  // 1 = Sunday ... 7 = Saturday
  int month = 1;
  int day = 1;
  int year = 2000;
  int channel1 = 0;  // the three numbers of the channel's channels.txt entry
  int channel2 = 0;
  int channel3 = 0;
  int startHour = 0;
  int startMinute = 0;
  int endHour = 0;
  int endMinute = 0;
  int type = kRecordLive;
  int frequency = kOnce;
  int whenDone = kCloseWhenDone;
  std::string folder;

  friend bool operator==(const ScheduleEvent&, const ScheduleEvent&) = default;
};

// Start and end of an event with minute resolution. The end rolls over to
// the next day only when the end hour is smaller than the start hour, so an
// event such as 10:30-10:15 ends before it starts.
struct EventInterval {
  CivilTime start;
  CivilTime end;
};

// Hours and minutes shown as an event's duration (always 0:00 to 23:59).
struct DisplayedDuration {
  int hours = 0;
  int minutes = 0;
};

CivilTime EventStart(const ScheduleEvent& event);
EventInterval IntervalOf(const ScheduleEvent& event);
DisplayedDuration DisplayedDurationOf(const ScheduleEvent& event);

// The event moved to the date of `date`; the day of week is recomputed and the
// times of day stay as they were.
ScheduleEvent WithStartDate(const ScheduleEvent& event, const CivilTime& date);

// The overlap rule between a new interval and an existing one: the message
// that refuses the new one, or nothing. Touching ends are no overlap.
std::optional<std::string> OverlapMessage(const EventInterval& added, const EventInterval& existing);

// A channel entry matches when its first two numbers equal the event's and
// its third equals the event's third or its negation.
bool MatchesChannel(const ChannelEntry& channel, const ScheduleEvent& event);

// Index of the first matching entry, or nothing.
std::optional<std::size_t> FindEventChannel(const std::vector<ChannelEntry>& channels,
                                            const ScheduleEvent& event);

// Why the fields cannot describe an event (impossible date, time or code, an
// over-long folder), or nothing when they can. A day of week that disagrees
// with the date is not checked here; the date decides.
std::optional<std::string> EventFieldProblem(const ScheduleEvent& event);

// Texts of the codes. The scheduler's lists write "RECORD- LIVE" with a blank
// after the hyphen, the viewer's schedule tab "RECORD-LIVE" without one.
const char* SchedulerTypeText(int type);
const char* ViewerTypeText(int type);
const char* FrequencyText(int frequency);
const char* WhenDoneText(int whenDone);
