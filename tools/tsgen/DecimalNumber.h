#pragma once

#include <charconv>
#include <optional>
#include <string_view>

// The whole word as a decimal number from `low` to `high`; nothing for an
// empty word, other characters, or a number out of range.
inline std::optional<int> DecimalNumber(std::string_view word, int low, int high) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [at, error] = std::from_chars(word.data(), end, value);
  if (word.empty() || error != std::errc() || at != end || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}
