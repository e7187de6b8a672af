#include "viewer/ChannelDigits.h"

std::optional<std::string> ChannelDigits::Press(int digit) {
  if (digit < 0 || digit > 9) return std::nullopt;
  if (idle) {
    idle = false;
    ticks = 0;
    count = 0;
    first = digit;
    second = -1;
    third = -1;
    return std::to_string(digit);
  }
  // A leading 0 stays on screen: "05" is typed as 0 then 5.
  const std::string major = first == 0 ? "0" + std::to_string(second < 0 ? digit : second)
                                       : std::to_string(first * 10 + (second < 0 ? digit : second));
  if (count == 0) {
    count = 1;
    second = digit;
    return major;
  }
  if (count == 1) {
    count = 2;
    third = digit;
    return major + "-" + std::to_string(digit);
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
