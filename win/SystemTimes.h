#pragma once
// The platform's SYSTEMTIME and the portable CivilTime, field for field.

#include <windows.h>

#include "core/time/CivilTime.h"

// With the day of the week, which the date pickers show.
inline SYSTEMTIME ToSystemTime(const CivilTime& t) {
  SYSTEMTIME s{};
  s.wYear = static_cast<WORD>(t.year);
  s.wMonth = static_cast<WORD>(t.month);
  s.wDay = static_cast<WORD>(t.day);
  s.wDayOfWeek = static_cast<WORD>(DayOfWeek(t) - 1);
  s.wHour = static_cast<WORD>(t.hour);
  s.wMinute = static_cast<WORD>(t.minute);
  s.wSecond = static_cast<WORD>(t.second);
  return s;
}

inline CivilTime ToCivilTime(const SYSTEMTIME& s) {
  return CivilTime{s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond};
}
