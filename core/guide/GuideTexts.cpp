#include "core/guide/GuideTexts.h"

#include "core/time/TimeTexts.h"

LocalTimes LocalTimesOf(const GuideProgramme& programme, const LocalZone& zone) {
  return {zone.ToLocal(programme.startUtc), zone.ToLocal(programme.EndUtc())};
}

std::string ProgrammeTimesText(const GuideProgramme& programme, const LocalZone& zone) {
  const LocalTimes times = LocalTimesOf(programme, zone);
  return ClockText12(times.start.hour, times.start.minute) + " - " +
         ClockText12(times.end.hour, times.end.minute);
}

std::string ProgrammeDayText(const GuideProgramme& programme, const LocalZone& zone) {
  const CivilTime start = zone.ToLocal(programme.startUtc);
  return std::string(DayName(DayOfWeek(start))) + ", " + MonthName(start.month) + " " +
         std::to_string(start.day) + ", " + std::to_string(start.year);
}

std::string ProgrammeLengthText(std::uint32_t lengthSeconds) {
  const std::uint64_t minutes = (std::uint64_t{lengthSeconds} + 59) / 60;
  return std::to_string(minutes / 60) + ":" + TwoDigitText(static_cast<int>(minutes % 60));
}
