#pragma once

#include "core/time/CivilTime.h"

// When a scheduled recording stops: at its event's end, a moment with its
// date. Never "the moment it began plus the event's length": a recording
// begun late (after a clock change, a busy machine, a recorder slow to
// close) would stop late, and one whose end had already passed would have
// that end rolled to the next day and hold the tuner for a day.

// The first moment at or after `from` at which the clock shows
// endHour:endMinute (second 0). Taken from an event's start it is the end on
// the start's day, or on the next day when the end is earlier in the day than
// the start, as the schedule lays its events out.
CivilTime EventEndFrom(const CivilTime& from, int endHour, int endMinute);

// The moment nearest to `now` (yesterday, today or tomorrow) at which the
// clock shows hour:minute (second 0); half a day either way, the earlier.
CivilTime NearestTimeOfDay(const CivilTime& now, int hour, int minute);

// reclive.txt names the event's start and end times of day without a date.
// The start command comes at the start, or late by less than half a day, so
// the start is the one nearest to `now`, and the end follows from it.
CivilTime EventEndForStart(const CivilTime& now, int startHour, int startMinute, int endHour,
                           int endMinute);

// silentevent.txt names only the end. The scheduler hands an event over five
// seconds before its start (later only for an event started late) and never
// once its end has passed, so the end is the first one after the hand-off.
// `handedOver` comes from the file's time, which is known to a second or two:
// the search starts kHandOffMarginSeconds before it, well under the minute
// that a whole-minute end could be mistaken by.
CivilTime EventEndAfterHandOff(const CivilTime& handedOver, int endHour, int endMinute);

inline constexpr long long kHandOffMarginSeconds = 30;
