#include "win/Win32LocalZone.h"

#include <windows.h>

#include <chrono>

#include "win/SystemTimes.h"

namespace {

// SYSTEMTIME holds years 1601 to 30827; the conversions below take the
// years a guide can hold.
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;

// UTC seconds as a civil time of the UTC clock, and back.
CivilTime UtcCivil(std::int64_t utcSeconds) {
  return FromLocalSeconds(std::chrono::local_seconds(std::chrono::seconds(utcSeconds)));
}

std::int64_t UtcSeconds(const CivilTime& utc) {
  return ToLocalSeconds(utc).time_since_epoch().count();
}

// The zone's rules for `year`: the dynamic zone's rules of that year where
// the system keeps them (the daylight-saving dates of a zone change over
// the years), else the zone's current rules. False when the system tells
// no zone at all.
bool RulesForYear(int year, TIME_ZONE_INFORMATION& rules) {
  DYNAMIC_TIME_ZONE_INFORMATION dynamic{};
  if (GetDynamicTimeZoneInformation(&dynamic) != TIME_ZONE_ID_INVALID &&
      GetTimeZoneInformationForYear(static_cast<USHORT>(year), &dynamic, &rules)) {
    return true;
  }
  return GetTimeZoneInformation(&rules) != TIME_ZONE_ID_INVALID;
}

}  // namespace

// A time the system cannot convert is shown as UTC rather than not at all.
CivilTime Win32LocalZone::ToLocal(std::int64_t utcSeconds) const {
  const CivilTime utc = UtcCivil(utcSeconds);
  if (utc.year < kFirstYear || utc.year > kLastYear) return utc;
  TIME_ZONE_INFORMATION rules{};
  if (!RulesForYear(utc.year, rules)) return utc;
  const SYSTEMTIME universal = ToSystemTime(utc);
  SYSTEMTIME local{};
  if (!SystemTimeToTzSpecificLocalTime(&rules, &universal, &local)) return utc;
  return ToCivilTime(local);
}

std::int64_t Win32LocalZone::ToUtc(const CivilTime& local) const {
  const std::int64_t asUtc = UtcSeconds(local);
  if (!IsValidCivilTime(local) || local.year < kFirstYear || local.year > kLastYear) return asUtc;
  TIME_ZONE_INFORMATION rules{};
  if (!RulesForYear(local.year, rules)) return asUtc;
  const SYSTEMTIME wall = ToSystemTime(local);
  SYSTEMTIME universal{};
  if (!TzSpecificLocalTimeToSystemTime(&rules, &wall, &universal)) return asUtc;
  return UtcSeconds(ToCivilTime(universal));
}
