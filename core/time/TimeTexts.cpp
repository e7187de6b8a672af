#include "core/time/TimeTexts.h"

#include <array>

namespace {

constexpr std::array<const char*, 7> kDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int Hour12(int hour) {
  const int h = hour % 12;
  return h == 0 ? 12 : h;
}

}  // namespace

std::string LogTimeStamp(const CivilTime& t) {
  return std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year) +
         "-" + std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
         std::to_string(t.second);
}

std::string TwoDigitText(int value) {
  return value >= 0 && value < 10 ? "0" + std::to_string(value) : std::to_string(value);
}

std::string HourText12(int hour) { return TwoDigitText(Hour12(hour)); }

const char* AmPm(int hour) { return hour < 12 ? "AM" : "PM"; }

std::string ClockText12(int hour, int minute) {
  return std::to_string(Hour12(hour)) + ":" + TwoDigitText(minute) + " " + AmPm(hour);
}

std::string DurationText(long long totalSeconds) {
  if (totalSeconds < 0) totalSeconds = 0;
  const long long hours = totalSeconds / 3600;
  const int minutes = static_cast<int>(totalSeconds / 60 % 60);
  const int seconds = static_cast<int>(totalSeconds % 60);
  return std::to_string(hours) + ":" + TwoDigitText(minutes) + ":" + TwoDigitText(seconds);
}

const char* DayName(int dayOfWeek) {
  return dayOfWeek >= 1 && dayOfWeek <= 7 ? kDayNames[dayOfWeek - 1] : "";
}

const char* MonthName(int month) {
  return month >= 1 && month <= 12 ? kMonthNames[month - 1] : "";
}
