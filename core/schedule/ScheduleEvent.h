#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/time/CivilTime.h"

// Codes of the event fields 12-14: the positions of the texts in the
// scheduler window's drop-down lists, in that order. schedule.txt and the
// hand-off files hold them as these numbers.
enum class EventType : int { RecordLive = 0, RecordSilent = 1, WatchLive = 2, Timeshift = 3 };
enum class EventFrequency : int { Once = 0, DailyWeekdays = 1, Weekly = 2 };
enum class WhenDone : int { Close = 0, KeepOpen = 1, Shutdown = 2 };

// A code as a file holds it, and back: nothing for a number outside the list.
constexpr int CodeOf(EventType type) { return static_cast<int>(type); }
constexpr int CodeOf(EventFrequency frequency) { return static_cast<int>(frequency); }
constexpr int CodeOf(WhenDone whenDone) { return static_cast<int>(whenDone); }
std::optional<EventType> EventTypeFromCode(int code);
std::optional<EventFrequency> EventFrequencyFromCode(int code);
std::optional<WhenDone> WhenDoneFromCode(int code);

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
  EventType type = EventType::RecordLive;
  EventFrequency frequency = EventFrequency::Once;
  WhenDone whenDone = WhenDone::Close;
  std::string folder;

  friend bool operator==(const ScheduleEvent&, const ScheduleEvent&) = default;
};

// Start and end of an event with minute resolution. The end rolls over to
// the next day when it is earlier in the day than the start, so an event
// such as 10:30-10:15 lasts 23:45, the duration its row shows.
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

// The three codes as numbers, as an event line of schedule.txt holds them.
struct EventCodeNumbers {
  int type = 0;
  int frequency = 0;
  int whenDone = 0;
};
EventCodeNumbers CodeNumbersOf(const ScheduleEvent& event);

// Why the fields cannot describe an event (impossible date, time or code, an
// over-long folder), or nothing when they can. A day of week that disagrees
// with the date is not checked here; the date decides. The second form is
// the reader's: it takes the codes as the numbers read, and ignores the
// event's own code fields.
std::optional<std::string> EventFieldProblem(const ScheduleEvent& event);
std::optional<std::string> EventFieldProblem(const ScheduleEvent& event, EventCodeNumbers codes);

// Texts of the codes. The scheduler's lists write "RECORD- LIVE" with a blank
// after the hyphen, the viewer's schedule tab "RECORD-LIVE" without one.
const char* SchedulerTypeText(EventType type);
const char* ViewerTypeText(EventType type);
const char* FrequencyText(EventFrequency frequency);
const char* WhenDoneText(WhenDone whenDone);
