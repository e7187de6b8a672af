#include "ChannelOption.h"

#include "core/files/DecimalNumber.h"
#include "PsipSerializer.h"

namespace {

constexpr std::string_view kHiddenSuffix = ":hidden";

// The decimal number before the next ':' (or the end), within the range.
std::optional<int> TakeNumber(std::string_view& rest, int low, int high) {
  const std::size_t colon = rest.find(':');
  const std::string_view word = rest.substr(0, colon);
  rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
  return DecimalNumber(word, low, high);
}

}  // namespace

std::optional<TestChannel> ParseChannelOption(std::string_view value, std::string& problem) {
  std::string_view rest = value;
  const auto major = TakeNumber(rest, 1, 999);
  const auto minor = TakeNumber(rest, 0, 999);
  const auto program = TakeNumber(rest, 1, 65535);
  if (!major || !minor || !program) {
    problem = "bad --channel " + std::string(value) +
              ": expected MAJOR:MINOR:PROGRAM[:NAME[:hidden]] (major 1-999, minor 0-999, "
              "program 1-65535)";
    return std::nullopt;
  }
  TestChannel channel{*major, *minor, static_cast<std::uint16_t>(*program), {}, false};
  if (rest.ends_with(kHiddenSuffix)) {
    channel.hidden = true;
    rest.remove_suffix(kHiddenSuffix.size());
  }
  channel.shortName = std::string(rest);
  const auto units = Utf16Units(rest);
  if (!units) {
    problem = "the short name of --channel " + std::string(value) + " is not UTF-8 text";
    return std::nullopt;
  }
  if (units->size() > kShortNameMaxUnits) {
    problem = "the short name \"" + channel.shortName + "\" of --channel " + std::string(value) +
              " is longer than 7 characters";
    return std::nullopt;
  }
  return channel;
}
