#pragma once

#include <string>

#include "core/time/CivilTime.h"

// Hours and minutes of a span of the recorder's spins (0-23, 0-59).
struct HoursMinutes {
  int hours = 0;
  int minutes = 0;

  friend bool operator==(const HoursMinutes&, const HoursMinutes&) = default;
};

// The span from one time of day to a later one, with the borrow rule of the
// schedule's durations: the hours are the difference of the hours (plus 24
// when negative); a negative difference of the minutes takes 60 from the
// hours (below 0 they become 23).
HoursMinutes SpanBetween(int fromHour, int fromMinute, int toHour, int toMinute);

// A time of day moved on by a span, round the clock.
HoursMinutes TimeOfDayAfter(int hour, int minute, HoursMinutes span);

// When a recording stops and how long it was planned to run. The stop is a
// moment, the start of the stop minute on the right day, so that a recording
// that crosses midnight stops on the next day and a timer tick that comes
// late still stops it.
class RecordingClock {
 public:
  // For a scheduled event ending at endHour:endMinute, handed over (its
  // silentevent.txt written) at `handedOver`: the stop is the event's end,
  // the first one after the hand-off, however late the recording starts; an
  // end that has passed already stops it at the first tick, it is never
  // rolled to the next day. The planned duration runs from now to the stop.
  static RecordingClock ForEvent(const CivilTime& now, const CivilTime& handedOver, int endHour,
                                 int endMinute);

  // For a recording by hand that is to run `span` from now, to the start of
  // the minute the span reaches.
  static RecordingClock ForSpan(const CivilTime& now, HoursMinutes span);

  // CHANGE: the stop moves later by the span and the planned duration grows
  // by as much.
  void Extend(HoursMinutes span);

  bool ReachedStop(const CivilTime& now) const { return now >= stop; }

  const CivilTime& Stop() const { return stop; }
  long long PlannedSeconds() const { return plannedSeconds; }

  // "8:05 PM": the stop time as the window shows it.
  std::string StopText() const;
  // "1:00:30": the planned duration.
  std::string PlannedText() const;

 private:
  RecordingClock(const CivilTime& stop, long long plannedSeconds)
      : stop(stop), plannedSeconds(plannedSeconds) {}

  CivilTime stop;
  long long plannedSeconds = 0;
};

// The seconds rule: a span of whole minutes started `second` seconds into a
// minute runs 60 - second seconds of that minute and one minute less, so that
// it ends at the start of a minute (at second 0 it stays as it is). Minutes
// below 0 become 59 and take an hour when there is one.
long long PlannedSecondsOf(HoursMinutes span, int second);

// The elapsed time of a recording, counted by its one-second timer.
class ElapsedTime {
 public:
  void Tick() { ++seconds; }
  long long Seconds() const { return seconds; }
  // "0:00:08"; before the first tick the window shows "00:00".
  std::string Text() const;
  // Whole per cent of the planned duration, at most 100; 100 when nothing
  // was planned (an event whose end is the minute it started in).
  int Percent(long long plannedSeconds) const;
  // The window hides itself eight seconds into the recording.
  bool HideNow() const { return seconds == 8; }

 private:
  long long seconds = 0;
};
