#include "core/time/CivilTime.h"

#include <tuple>

using namespace std::chrono;

namespace {

year_month_day DateOf(const CivilTime& t) {
  return year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                        day{static_cast<unsigned>(t.day)}};
}

}  // namespace

int DayOfWeek(const CivilTime& t) {
  return static_cast<int>(weekday{sys_days{DateOf(t)}}.c_encoding()) + 1;
}

bool IsValidCivilTime(const CivilTime& t) {
  return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && DateOf(t).ok() &&
         t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
         t.second <= 59;
}

local_seconds ToLocalSeconds(const CivilTime& t) {
  return local_days{DateOf(t)} + hours{t.hour} + minutes{t.minute} + seconds{t.second};
}

CivilTime FromLocalSeconds(local_seconds s) {
  const local_days d = floor<days>(s);
  const year_month_day ymd{d};
  const hh_mm_ss hms{s - d};
  return CivilTime{static_cast<int>(ymd.year()),
                   static_cast<int>(static_cast<unsigned>(ymd.month())),
                   static_cast<int>(static_cast<unsigned>(ymd.day())),
                   static_cast<int>(hms.hours().count()),
                   static_cast<int>(hms.minutes().count()),
                   static_cast<int>(hms.seconds().count())};
}

CivilTime AddSeconds(const CivilTime& t, long long s) {
  return FromLocalSeconds(ToLocalSeconds(t) + seconds{s});
}

CivilTime AddDays(const CivilTime& t, int n) {
  return FromLocalSeconds(ToLocalSeconds(t) + days{n});
}

long long SecondsBetween(const CivilTime& a, const CivilTime& b) {
  return (ToLocalSeconds(b) - ToLocalSeconds(a)).count();
}

bool operator<(const CivilTime& a, const CivilTime& b) {
  return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <
         std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}
