#pragma once

// Test support: the US Eastern time zone with fixed rules, and instants
// written as UTC dates.
//   standard time UTC-5; summer time UTC-4 from the second Sunday of March
//   at 2:00 standard time to the first Sunday of November at 2:00 summer time.

#include <chrono>
#include <cstdint>

#include "core/time/CivilTime.h"
#include "core/time/LocalZone.h"

// An instant given by its UTC date and time.
inline std::int64_t Utc(int year, int month, int day, int hour, int minute, int second = 0) {
  return ToLocalSeconds(CivilTime{year, month, day, hour, minute, second})
      .time_since_epoch()
      .count();
}

class UsEasternZone : public LocalZone {
 public:
  static constexpr std::int64_t kStandardOffset = -5 * 3600;
  static constexpr std::int64_t kSummerOffset = -4 * 3600;

  CivilTime ToLocal(std::int64_t utcSeconds) const override {
    return Shifted(utcSeconds, IsSummerTime(utcSeconds) ? kSummerOffset : kStandardOffset);
  }

  // A repeated local time gives its earlier instant (summer time); a
  // skipped one is read with the standard offset, so 2:30 on the spring
  // day is the instant the clock shows 3:30.
  std::int64_t ToUtc(const CivilTime& local) const override {
    const std::int64_t seconds = ToLocalSeconds(local).time_since_epoch().count();
    const std::int64_t summer = seconds - kSummerOffset;
    if (ToLocal(summer) == local) return summer;
    return seconds - kStandardOffset;
  }

  static bool IsSummerTime(std::int64_t utcSeconds) {
    const int year = Shifted(utcSeconds, kStandardOffset).year;
    using namespace std::chrono;
    const auto begins = sys_days{std::chrono::year{year} / March / Sunday[2]}.time_since_epoch();
    const auto ends = sys_days{std::chrono::year{year} / November / Sunday[1]}.time_since_epoch();
    const std::int64_t begin = duration_cast<seconds>(begins).count() + 2 * 3600 - kStandardOffset;
    const std::int64_t end = duration_cast<seconds>(ends).count() + 2 * 3600 - kSummerOffset;
    return utcSeconds >= begin && utcSeconds < end;
  }

 private:
  static CivilTime Shifted(std::int64_t utcSeconds, std::int64_t offset) {
    return FromLocalSeconds(std::chrono::local_seconds{std::chrono::seconds{utcSeconds + offset}});
  }
};
