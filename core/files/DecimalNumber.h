#pragma once

#include <charconv>
#include <optional>
#include <string_view>

// The whole word as a decimal number from `low` to `high`; nothing for an
// empty word, other characters (a '+', blanks), a minus sign where the
// range has no negative numbers, or a number out of range.
template <typename Number>
std::optional<Number> DecimalNumber(std::string_view word, Number low, Number high) {
  if (word.empty() || (word.front() == '-' && !(low < Number{0}))) return std::nullopt;
  Number value{};
  const char* end = word.data() + word.size();
  const auto [at, error] = std::from_chars(word.data(), end, value);
  if (error != std::errc() || at != end || value < low || value > high) return std::nullopt;
  return value;
}

// The same into `value`, which keeps what it held when the word is refused.
template <typename Number>
bool ReadDecimalNumber(std::string_view word, Number low, Number high, Number& value) {
  const std::optional<Number> number = DecimalNumber(word, low, high);
  if (number) value = *number;
  return number.has_value();
}
