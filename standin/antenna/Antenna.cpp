#include "standin/antenna/Antenna.h"

#include "core/files/DecimalNumber.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace standin {

namespace {

constexpr std::size_t kMaxLineLength = 4096;
constexpr std::size_t kMaxShortName = 7;  // UTF-16 characters

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Splits off the next blank-separated word of `rest`.
std::string_view NextWord(std::string_view& rest) {
  std::size_t start = 0;
  while (start < rest.size() && IsBlank(rest[start])) ++start;
  std::size_t end = start;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  const std::string_view word = rest.substr(start, end - start);
  rest.remove_prefix(end);
  return word;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsKeyword(std::string_view word, std::string_view keyword) {
  return word.size() == keyword.size() &&
         std::equal(word.begin(), word.end(), keyword.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == b;
         });
}

// The UTF-16 characters of UTF-8 text: one for each character, two for one
// past U+FFFF (lead byte 0xF0 or above); continuation bytes add none.
std::size_t Utf16Length(std::string_view text) {
  std::size_t length = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) length += byte >= 0xF0 ? 2 : 1;
  }
  return length;
}

std::string LineError(int line, std::string_view what) {
  return "line " + std::to_string(line) + ": " + std::string(what);
}

}  // namespace

Antenna Antenna::Parse(std::string_view text, std::vector<std::string>& errors) {
  Antenna antenna;
  // Index of the RF channel that CHANNEL lines belong to; -1 before any, or
  // after a rejected RF line (its channels are rejected with it).
  int current = -1;
  bool currentRejected = false;
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.size() > kMaxLineLength) {
      errors.push_back(LineError(lineNumber, "line too long"));
      continue;
    }
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;

    std::string_view rest = line;
    const std::string_view keyword = NextWord(rest);
    if (IsKeyword(keyword, "RF")) {
      currentRejected = true;
      const auto physical = DecimalNumber(NextWord(rest), 1, 999);
      const bool signalWord = IsKeyword(NextWord(rest), "SIGNAL");
      const auto signal = DecimalNumber(NextWord(rest), -1000000000, 1000000000);
      const bool fileWord = IsKeyword(NextWord(rest), "FILE");
      const std::string_view file = Trim(rest);
      if (!physical || !signalWord || !signal || !fileWord || file.empty()) {
        errors.push_back(LineError(lineNumber, "expected RF <1-999> SIGNAL <number> FILE <name>"));
        continue;
      }
      const auto& known = antenna.rfChannels;
      if (std::any_of(known.begin(), known.end(),
                      [&](const AntennaRf& rf) { return rf.physical == *physical; })) {
        errors.push_back(LineError(lineNumber, "RF " + std::to_string(*physical) +
                                                   " is already listed; this line is ignored"));
        continue;
      }
      antenna.rfChannels.push_back(AntennaRf{*physical, *signal, std::string(file), {}});
      current = static_cast<int>(antenna.rfChannels.size()) - 1;
      currentRejected = false;
    } else if (IsKeyword(keyword, "CHANNEL")) {
      const auto major = DecimalNumber(NextWord(rest), 1, 9999);
      const auto minor = DecimalNumber(NextWord(rest), 0, 999);
      const bool programWord = IsKeyword(NextWord(rest), "PROGRAM");
      const auto program = DecimalNumber(NextWord(rest), 1, 65535);
      const std::string_view nameWord = NextWord(rest);
      const std::string_view name = Trim(rest);
      if (!major || !minor || !programWord || !program ||
          (nameWord.empty() ? !name.empty() : !IsKeyword(nameWord, "NAME") || name.empty())) {
        errors.push_back(LineError(
            lineNumber, "expected CHANNEL <major> <minor> PROGRAM <1-65535> [NAME <short name>]"));
        continue;
      }
      if (Utf16Length(name) > kMaxShortName) {
        errors.push_back(LineError(lineNumber, "the name \"" + std::string(name) +
                                                   "\" is longer than 7 characters"));
        continue;
      }
      if (current < 0 || currentRejected) {
        errors.push_back(LineError(lineNumber, "CHANNEL without a valid RF line before it"));
        continue;
      }
      auto& channels = antenna.rfChannels[static_cast<std::size_t>(current)].channels;
      if (std::any_of(channels.begin(), channels.end(), [&](const AntennaChannel& c) {
            return c.major == *major && c.minor == *minor;
          })) {
        errors.push_back(LineError(lineNumber, "channel " + std::to_string(*major) + "-" +
                                                   std::to_string(*minor) +
                                                   " is already listed; this line is ignored"));
        continue;
      }
      channels.push_back(AntennaChannel{*major, *minor, static_cast<std::uint16_t>(*program),
                                        std::string(name)});
    } else {
      errors.push_back(LineError(lineNumber, "unknown statement \"" + std::string(keyword) +
                                                 "\" (expected RF or CHANNEL)"));
    }
  }
  return antenna;
}

void Antenna::ResolveFiles(std::string_view antennaPath) {
  for (AntennaRf& rf : rfChannels) rf.file = ResolveRelativeTo(antennaPath, rf.file);
}

AntennaTuning Antenna::Tune(int physical, int major, int minor) const {
  const auto rf = std::find_if(rfChannels.begin(), rfChannels.end(),
                               [&](const AntennaRf& r) { return r.physical == physical; });
  if (rf == rfChannels.end()) return {};
  AntennaTuning tuning{true, rf->signal, rf->file, 0};
  if (major < 1) {
    if (!rf->channels.empty()) tuning.programNumber = rf->channels.front().programNumber;
    return tuning;
  }
  for (const AntennaChannel& channel : rf->channels) {
    if (channel.major == major && channel.minor == minor) {
      tuning.programNumber = channel.programNumber;
      break;
    }
  }
  return tuning;
}

std::string ResolveRelativeTo(std::string_view basePath, std::string_view file) {
  const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
  const bool absolute =
      (!file.empty() && isSeparator(file.front())) ||
      (file.size() >= 2 && file[1] == ':' && std::isalpha(static_cast<unsigned char>(file[0])));
  if (absolute) return std::string(file);
  const std::size_t slash = basePath.find_last_of("\\/");
  if (slash == std::string_view::npos) {
    // A bare "C:antenna.txt" still names its drive's current folder.
    if (basePath.size() >= 2 && basePath[1] == ':') return std::string(basePath.substr(0, 2)) + std::string(file);
    return std::string(file);
  }
  return std::string(basePath.substr(0, slash + 1)) + std::string(file);
}

}  // namespace standin
