#pragma once
// The clock arithmetic of the record dialogs: the duration to a chosen stop
// time and the stop time after a chosen duration ("Record..."), and the
// running recording's stop time, planned duration, elapsed time and progress
// ("Recording Now"). Times of day are on the 24-hour clock; callers pass the
// local time in.

#include <string>

#include "core/time/CivilTime.h"

struct ClockSpan {
  int hours = 0;
  int minutes = 0;

  bool IsZero() const { return hours == 0 && minutes == 0; }
  friend bool operator==(const ClockSpan&, const ClockSpan&) = default;
};

// From now to a stop time of day, the next time the clock reads it (past
// midnight when it is earlier than now).
ClockSpan DurationUntil(int nowHour, int nowMinute, int stopHour, int stopMinute);

// "DURATION: H:MM".
std::string DurationLabel(const ClockSpan& span);

// Now plus the span.
CivilTime StopTimeAfter(const CivilTime& now, const ClockSpan& span);

// The time to add to a recording for it to stop at a picked time of day.
ClockSpan AddedUntil(int stopHour, int stopMinute, int pickedHour, int pickedMinute);

class RecordingClock {
 public:
  RecordingClock() = default;
  // A recording of `planned` from now that stops at `stop`.
  RecordingClock(const CivilTime& stop, const ClockSpan& planned);

  const CivilTime& StopTime() const { return stop; }
  // "10:00 PM".
  std::string StopText() const;
  // The planned duration and the time recorded so far, "H:MM:SS"; the
  // elapsed time reads "00:00" before the first second.
  std::string DurationText() const;
  std::string ElapsedText() const;
  // Elapsed of planned, in percent (at most 100).
  int Progress() const;

  // One second more recorded; true once the clock has reached the stop time.
  bool Tick(const CivilTime& now) { return Tick(now, elapsedSeconds + 1); }
  // The timer's tick with the seconds recorded since the start, measured on a
  // steady clock: a busy window misses ticks, and counting them would fall
  // behind the recording. True once the clock has reached the stop minute.
  bool Tick(const CivilTime& now, long long recordedSeconds);

  // Moves the stop time and lengthens the plan; nothing for a zero span.
  void AddTime(const ClockSpan& span);

 private:
  CivilTime stop;
  long long plannedSeconds = 0;
  long long elapsedSeconds = 0;
};
