#include "recorder/RecordingClock.h"

#include <algorithm>

#include "core/schedule/EventEnd.h"
#include "core/time/TimeTexts.h"

HoursMinutes SpanBetween(int fromHour, int fromMinute, int toHour, int toMinute) {
  HoursMinutes span{toHour - fromHour, toMinute - fromMinute};
  if (span.hours < 0) span.hours += 24;
  if (span.minutes < 0) {
    span.minutes += 60;
    span.hours -= 1;
    if (span.hours < 0) span.hours = 23;
  }
  return span;
}

HoursMinutes TimeOfDayAfter(int hour, int minute, HoursMinutes span) {
  const int total = ((hour + span.hours) * 60 + minute + span.minutes) % (24 * 60);
  return {total / 60, total % 60};
}

long long PlannedSecondsOf(HoursMinutes span, int second) {
  int hours = span.hours;
  int minutes = span.minutes;
  int seconds = 60 - second;
  if (seconds == 60) {
    seconds = 0;
  } else {
    minutes -= 1;
    if (minutes < 0) {
      minutes = 59;
      if (hours > 0) hours -= 1;
    }
  }
  return hours * 3600LL + minutes * 60LL + seconds;
}

namespace {

CivilTime StartOfMinute(CivilTime t) {
  t.second = 0;
  return t;
}

}  // namespace

RecordingClock RecordingClock::ForEvent(const CivilTime& now, const CivilTime& handedOver,
                                        int endHour, int endMinute) {
  const CivilTime stop = EventEndAfterHandOff(handedOver, endHour, endMinute);
  return RecordingClock(stop, std::max(0LL, SecondsBetween(now, stop)));
}

RecordingClock RecordingClock::ForSpan(const CivilTime& now, HoursMinutes span) {
  const CivilTime stop =
      StartOfMinute(AddSeconds(now, span.hours * 3600LL + span.minutes * 60LL));
  return RecordingClock(stop, PlannedSecondsOf(span, now.second));
}

void RecordingClock::Extend(HoursMinutes span) {
  const long long seconds = span.hours * 3600LL + span.minutes * 60LL;
  stop = AddSeconds(stop, seconds);
  plannedSeconds += seconds;
}

std::string RecordingClock::StopText() const { return ClockText12(stop.hour, stop.minute); }

std::string RecordingClock::PlannedText() const { return DurationText(plannedSeconds); }

std::string ElapsedTime::Text() const { return seconds == 0 ? "00:00" : DurationText(seconds); }

int ElapsedTime::Percent(long long plannedSeconds) const {
  if (plannedSeconds <= 0 || seconds >= plannedSeconds) return 100;
  return static_cast<int>(seconds * 100 / plannedSeconds);
}
