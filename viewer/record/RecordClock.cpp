#include "viewer/record/RecordClock.h"

#include "core/time/TimeTexts.h"

ClockSpan DurationUntil(int nowHour, int nowMinute, int stopHour, int stopMinute) {
  ClockSpan span{stopHour - nowHour, stopMinute - nowMinute};
  if (span.hours < 0) span.hours += 24;
  if (span.minutes < 0) {
    span.minutes += 60;
    if (--span.hours < 0) span.hours = 23;
  }
  return span;
}

std::string DurationLabel(const ClockSpan& span) {
  return "DURATION: " + std::to_string(span.hours) + ":" + TwoDigitText(span.minutes);
}

CivilTime StopTimeAfter(const CivilTime& now, const ClockSpan& span) {
  return AddSeconds(now, (span.hours * 60LL + span.minutes) * 60);
}

ClockSpan AddedUntil(int stopHour, int stopMinute, int pickedHour, int pickedMinute) {
  ClockSpan span{pickedHour - stopHour, pickedMinute - stopMinute};
  if (span.minutes < 0) {
    span.minutes += 60;
    --span.hours;
  }
  if (span.hours < 0) span.hours += 24;
  return span;
}

RecordingClock::RecordingClock(const CivilTime& stop, const ClockSpan& planned)
    : stop(stop), plannedSeconds((planned.hours * 60LL + planned.minutes) * 60) {}

std::string RecordingClock::StopText() const { return ClockText12(stop.hour, stop.minute); }

std::string RecordingClock::DurationText() const { return ::DurationText(plannedSeconds); }

std::string RecordingClock::ElapsedText() const {
  return elapsedSeconds == 0 ? "00:00" : ::DurationText(elapsedSeconds);
}

int RecordingClock::Progress() const {
  if (plannedSeconds <= 0) return 100;
  const long long percent = elapsedSeconds * 100 / plannedSeconds;
  return percent > 100 ? 100 : static_cast<int>(percent);
}

bool RecordingClock::Tick(const CivilTime& now, long long recordedSeconds) {
  if (recordedSeconds > elapsedSeconds) elapsedSeconds = recordedSeconds;
  // From the start of the stop minute on, not only while the clock shows it:
  // a clock that moves forward over it (summer time) or a late tick must
  // not let the recording run on for a day.
  CivilTime stopMinute = stop;
  stopMinute.second = 0;
  return !(now < stopMinute);
}

void RecordingClock::AddTime(const ClockSpan& span) {
  if (span.IsZero()) return;
  const long long seconds = (span.hours * 60LL + span.minutes) * 60;
  stop = AddSeconds(stop, seconds);
  plannedSeconds += seconds;
}
