#include "viewer/ChannelDigits.h"

#include <cstdio>

std::optional<std::string> ChannelDigits::Press(int digit) {
  if (!IsDigit(digit)) return std::nullopt;
  if (idle) {
    idle = false;
    ticks = 0;
    count = 0;
    first = digit;
    second = -1;
    third = -1;
    return std::to_string(digit);
  }
  // The major number as typed: a leading 0 stays on screen ("05").
  const int units = second < 0 ? digit : second;
  char major[8];
  std::snprintf(major, sizeof major, first == 0 ? "0%i" : "%i", first * 10 + units);
  if (count == 0) {
    count = 1;
    second = digit;
    return major;
  }
  if (count == 1) {
    count = 2;
    third = digit;
    return std::string(major) + "-" + std::to_string(digit);
  }
  return std::nullopt;
}

std::optional<TypedChannelNumber> ChannelDigits::Tick() {
  if (idle) return std::nullopt;
  if (++ticks < kTicksToEnd) return std::nullopt;
  TypedChannelNumber number;
  number.major = second >= 0 ? first * 10 + second : first;
  if (third >= 0) number.minor = third;
  idle = true;
  ticks = 0;
  count = 0;
  first = second = third = -1;
  return number;
}
