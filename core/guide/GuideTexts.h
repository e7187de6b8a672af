#pragma once

#include <cstdint>
#include <string>

#include "core/guide/GuideProgramme.h"
#include "core/time/CivilTime.h"
#include "core/time/LocalZone.h"

// A programme's times as the guide window shows them, in local time.

struct LocalTimes {
  CivilTime start;
  CivilTime end;
};

LocalTimes LocalTimesOf(const GuideProgramme& programme, const LocalZone& zone);

// Start and end on the 12-hour clock: "11:30 PM - 12:30 AM".
std::string ProgrammeTimesText(const GuideProgramme& programme, const LocalZone& zone);

// The day of its local start: "Sat, Nov 1, 2025".
std::string ProgrammeDayText(const GuideProgramme& programme, const LocalZone& zone);

// The length as hours and minutes, a started minute counting whole: "1:30",
// "0:05". It is the programme's own length, also on the days the clock
// changes, when the difference of the local times is an hour more or less.
std::string ProgrammeLengthText(std::uint32_t lengthSeconds);
