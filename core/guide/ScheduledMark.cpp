#include "core/guide/ScheduledMark.h"

#include <algorithm>

namespace {

bool IsWeekend(const CivilTime& date) {
  const int day = DayOfWeek(date);
  return day == 1 || day == 7;
}

CivilTime DateOf(const CivilTime& t) { return CivilTime{t.year, t.month, t.day, 0, 0, 0}; }

// The occurrence of the event that is running at `at`, or nothing: the
// event's own date, or for a repeating event its day of `at` or the day
// before (an event that runs past midnight).
std::optional<EventInterval> OccurrenceAt(const ScheduleEvent& event, const CivilTime& at) {
  const EventInterval first = IntervalOf(event);
  if (at < first.start) return std::nullopt;
  if (at < first.end) return first;
  if (event.frequency == EventFrequency::Once) return std::nullopt;
  for (int back = 0; back <= 1; ++back) {
    const CivilTime day = AddDays(DateOf(at), -back);
    if (day < DateOf(first.start)) continue;
    if (event.frequency == EventFrequency::Weekly && DayOfWeek(day) != DayOfWeek(first.start)) continue;
    if (event.frequency == EventFrequency::DailyWeekdays && IsWeekend(day)) continue;
    const EventInterval interval = IntervalOf(WithStartDate(event, day));
    if (interval.start <= at && at < interval.end) return interval;
  }
  return std::nullopt;
}

}  // namespace

bool IsProgrammeScheduled(const GuideProgramme& programme, const ChannelEntry& channel,
                          const std::vector<ScheduleEvent>& events, const LocalZone& zone) {
  const CivilTime start = zone.ToLocal(programme.startUtc);
  // The programme's own length: on the days the clock changes its local
  // times differ by an hour more or less.
  const long long length = programme.lengthSeconds;
  for (const ScheduleEvent& event : events) {
    if (!MatchesChannel(channel, event)) continue;
    const std::optional<EventInterval> occurrence = OccurrenceAt(event, start);
    if (!occurrence) continue;
    const long long covered = std::min(SecondsBetween(start, occurrence->end), length);
    if (length == 0 || covered * 2 > length) return true;
  }
  return false;
}
