#include "core/schedule/ScheduleEvent.h"

#include <array>

#include "core/schedule/EventEnd.h"

namespace {

constexpr std::array<const char*, 4> kSchedulerTypeTexts = {"RECORD- LIVE", "RECORD- SILENT",
                                                            "WATCH LIVE", "TIMESHIFT"};
constexpr std::array<const char*, 4> kViewerTypeTexts = {"RECORD-LIVE", "RECORD-SILENT",
                                                         "WATCH LIVE", "TIMESHIFT"};
constexpr std::array<const char*, 3> kFrequencyTexts = {"ONCE", "DAILY(M-F)", "WEEKLY"};
constexpr std::array<const char*, 3> kWhenDoneTexts = {"CLOSE", "KEEP OPEN", "SHUTDOWN"};

template <std::size_t N>
const char* CodeText(const std::array<const char*, N>& texts, int code) {
  return code >= 0 && static_cast<std::size_t>(code) < N ? texts[static_cast<std::size_t>(code)]
                                                           : "";
}

// The codes are the positions of their texts: a number names a code when it
// names a text.
template <typename Code, std::size_t Count>
std::optional<Code> CodeFromNumber(int number) {
  if (number < 0 || static_cast<std::size_t>(number) >= Count) return std::nullopt;
  return static_cast<Code>(number);
}

}  // namespace

std::optional<EventType> EventTypeFromCode(int code) {
  return CodeFromNumber<EventType, kSchedulerTypeTexts.size()>(code);
}

std::optional<EventFrequency> EventFrequencyFromCode(int code) {
  return CodeFromNumber<EventFrequency, kFrequencyTexts.size()>(code);
}

std::optional<WhenDone> WhenDoneFromCode(int code) {
  return CodeFromNumber<WhenDone, kWhenDoneTexts.size()>(code);
}

CivilTime EventStart(const ScheduleEvent& event) {
  return CivilTime{event.year, event.month, event.day, event.startHour, event.startMinute, 0};
}

EventInterval IntervalOf(const ScheduleEvent& event) {
  EventInterval interval;
  interval.start = EventStart(event);
  // The end lies on the next day whenever it is earlier in the day than the
  // start, minutes included: 10:30-10:15 runs 23:45, as its duration shows.
  interval.end = EventEndFrom(interval.start, event.endHour, event.endMinute);
  return interval;
}

DisplayedDuration DisplayedDurationOf(const ScheduleEvent& event) {
  int hours = event.endHour - event.startHour;
  if (hours < 0) hours += 24;
  int minutes = event.endMinute - event.startMinute;
  if (minutes < 0) {
    minutes += 60;
    hours -= 1;
    if (hours < 0) hours = 23;
  }
  return DisplayedDuration{hours, minutes};
}

ScheduleEvent WithStartDate(const ScheduleEvent& event, const CivilTime& date) {
  ScheduleEvent moved = event;
  moved.year = date.year;
  moved.month = date.month;
  moved.day = date.day;
  moved.dayOfWeek = DayOfWeek(date);
  return moved;
}

std::optional<std::string> OverlapMessage(const EventInterval& added, const EventInterval& existing) {
  if (added.start >= existing.start && added.start < existing.end)
    return "START TIME BETWEEN EXISTING TIME";
  if (added.start < existing.start && added.end > existing.start)
    return "END TIME BETWEEN EXISTING TIME";
  return std::nullopt;
}

bool MatchesChannel(const ChannelEntry& channel, const ScheduleEvent& event) {
  return channel.physical == event.channel1 && channel.major == event.channel2 &&
         (channel.minor == event.channel3 || channel.minor == -event.channel3);
}

std::optional<std::size_t> FindEventChannel(const std::vector<ChannelEntry>& channels,
                                            const ScheduleEvent& event) {
  for (std::size_t i = 0; i < channels.size(); ++i) {
    if (MatchesChannel(channels[i], event)) return i;
  }
  return std::nullopt;
}

EventCodeNumbers CodeNumbersOf(const ScheduleEvent& event) {
  return EventCodeNumbers{CodeOf(event.type), CodeOf(event.frequency), CodeOf(event.whenDone)};
}

std::optional<std::string> EventFieldProblem(const ScheduleEvent& event) {
  return EventFieldProblem(event, CodeNumbersOf(event));
}

std::optional<std::string> EventFieldProblem(const ScheduleEvent& event, EventCodeNumbers codes) {
  // Years outside four digits cannot be shown by the date picker or the lists.
  const CivilTime start = EventStart(event);
  if (event.year < 1970 || event.year > 9999 || !IsValidCivilTime(start))
    return "IMPOSSIBLE DATE OR START TIME";
  if (event.dayOfWeek < 1 || event.dayOfWeek > 7) return "IMPOSSIBLE DAY OF WEEK";
  if (event.endHour < 0 || event.endHour > 23 || event.endMinute < 0 || event.endMinute > 59)
    return "IMPOSSIBLE END TIME";
  if (!EventTypeFromCode(codes.type)) return "UNKNOWN TYPE CODE";
  if (!EventFrequencyFromCode(codes.frequency)) return "UNKNOWN FREQUENCY CODE";
  if (!WhenDoneFromCode(codes.whenDone)) return "UNKNOWN WHEN DONE CODE";
  if (event.folder.size() > kMaxEventFolderLength) return "FOLDER LONGER THAN 199 CHARACTERS";
  return std::nullopt;
}

const char* SchedulerTypeText(EventType type) { return CodeText(kSchedulerTypeTexts, CodeOf(type)); }
const char* ViewerTypeText(EventType type) { return CodeText(kViewerTypeTexts, CodeOf(type)); }
const char* FrequencyText(EventFrequency frequency) {
  return CodeText(kFrequencyTexts, CodeOf(frequency));
}
const char* WhenDoneText(WhenDone whenDone) { return CodeText(kWhenDoneTexts, CodeOf(whenDone)); }
