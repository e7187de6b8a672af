#pragma once

#include <string>

#include "core/time/CivilTime.h"

// The texts in which the programs show and log times.

// Log stamp "month/day/year-hour:minute:second" without leading zeros.
std::string LogTimeStamp(const CivilTime& t);

// Minute and second texts: "0%i" below 10, else "%i".
std::string TwoDigitText(int value);

// Hour on the 12-hour clock: 0 -> "12", 1..9 -> "01".."09", 10..12 -> "10".."12",
// 13..21 -> "01".."09", 22 and 23 -> "10", "11".
std::string HourText12(int hour);

// "AM" below hour 12, else "PM".
const char* AmPm(int hour);

// A clock time on screen, for example "8:05 PM" (hour without a leading zero).
std::string ClockText12(int hour, int minute);

// A duration as H:MM:SS, hours without a leading zero ("1:02:05", "0:00:59").
// Negative durations are shown as "0:00:00".
std::string DurationText(long long totalSeconds);

// "Sun".."Sat" for 1..7 (1 = Sunday) and "Jan".."Dec" for 1..12; an out-of-range
// number gives an empty text.
const char* DayName(int dayOfWeek);
const char* MonthName(int month);
