#include "core/schedule/EventEnd.h"

namespace {

constexpr long long kHalfDaySeconds = 12 * 3600;

CivilTime AtTimeOfDay(const CivilTime& date, int hour, int minute) {
  return CivilTime{date.year, date.month, date.day, hour, minute, 0};
}

}  // namespace

CivilTime EventEndFrom(const CivilTime& from, int endHour, int endMinute) {
  const CivilTime end = AtTimeOfDay(from, endHour, endMinute);
  return end < from ? AddDays(end, 1) : end;
}

CivilTime NearestTimeOfDay(const CivilTime& now, int hour, int minute) {
  const CivilTime today = AtTimeOfDay(now, hour, minute);
  const long long ahead = SecondsBetween(now, today);
  // Half a day either way: the one behind, as a command comes late, not early.
  if (ahead >= kHalfDaySeconds) return AddDays(today, -1);
  if (ahead < -kHalfDaySeconds) return AddDays(today, 1);
  return today;
}

CivilTime EventEndForStart(const CivilTime& now, int startHour, int startMinute, int endHour,
                           int endMinute) {
  return EventEndFrom(NearestTimeOfDay(now, startHour, startMinute), endHour, endMinute);
}

CivilTime EventEndAfterHandOff(const CivilTime& handedOver, int endHour, int endMinute) {
  return EventEndFrom(AddSeconds(handedOver, -kHandOffMarginSeconds), endHour, endMinute);
}
