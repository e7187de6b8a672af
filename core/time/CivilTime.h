#pragma once

#include <chrono>

// A local civil date and time, as the programs show and log it. The core
// never reads the clock: callers pass "now" in as a CivilTime.
struct CivilTime {
  int year = 1970;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59

  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// Day of the week with 1 = Sunday ... 7 = Saturday.
int DayOfWeek(const CivilTime& t);

// True when the fields name a real date and a time of day.
bool IsValidCivilTime(const CivilTime& t);

std::chrono::local_seconds ToLocalSeconds(const CivilTime& t);
CivilTime FromLocalSeconds(std::chrono::local_seconds s);

CivilTime AddSeconds(const CivilTime& t, long long seconds);
CivilTime AddDays(const CivilTime& t, int days);

// Whole seconds from a to b (negative when b is earlier).
long long SecondsBetween(const CivilTime& a, const CivilTime& b);

bool operator<(const CivilTime& a, const CivilTime& b);
inline bool operator>(const CivilTime& a, const CivilTime& b) { return b < a; }
inline bool operator<=(const CivilTime& a, const CivilTime& b) { return !(b < a); }
inline bool operator>=(const CivilTime& a, const CivilTime& b) { return !(a < b); }
