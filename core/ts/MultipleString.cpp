#include "core/ts/MultipleString.h"

#include <algorithm>

#include "core/ts/ByteReader.h"
#include "core/ts/Utf8Text.h"

namespace {

constexpr std::uint8_t kModeUtf16 = 0x3F;

// The modes whose bytes are the low bytes of characters on the Unicode page
// the mode names (0x00 is Latin-1).
bool IsUnicodePage(std::uint8_t mode) {
  return mode <= 0x06 || (mode >= 0x09 && mode <= 0x10) || (mode >= 0x20 && mode <= 0x27) ||
         (mode >= 0x30 && mode <= 0x33);
}

void AppendSegment(std::string& out, const StringSegment& segment) {
  const auto& bytes = segment.bytes;
  if (IsUnicodePage(segment.mode)) {
    for (const std::uint8_t b : bytes) AppendUtf8(out, (char32_t{segment.mode} << 8) | b);
  } else if (segment.mode == kModeUtf16) {
    std::vector<char16_t> units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>((bytes[i] << 8) | bytes[i + 1]));
    }
    AppendUtf16(out, units);
    if (bytes.size() % 2 != 0) AppendUtf8(out, kReplacementCharacter);  // half a unit
  } else if (!bytes.empty()) {
    AppendUtf8(out, kReplacementCharacter);  // a mode this reader does not decode
  }
}

bool IsLanguage(const LanguageString& string, std::string_view language) {
  if (language.size() != string.language.size()) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(language.begin(), language.end(), string.language.begin(),
                    [&](char a, char b) { return lower(a) == lower(b); });
}

}  // namespace

std::optional<MultipleString> ParseMultipleString(std::span<const std::uint8_t> bytes) {
  MultipleString text;
  if (bytes.empty()) return text;
  ByteReader reader(bytes);
  const int stringCount = reader.U8();
  for (int s = 0; s < stringCount && !reader.Error(); ++s) {
    LanguageString& string = text.strings.emplace_back();
    for (char& c : string.language) c = static_cast<char>(reader.U8());
    const int segmentCount = reader.U8();
    for (int g = 0; g < segmentCount && !reader.Error(); ++g) {
      StringSegment& segment = string.segments.emplace_back();
      segment.compression = reader.U8();
      segment.mode = reader.U8();
      const auto segmentBytes = reader.Bytes(reader.U8());
      segment.bytes.assign(segmentBytes.begin(), segmentBytes.end());
    }
  }
  if (reader.Error() || reader.Remaining() != 0) return std::nullopt;
  return text;
}

std::string TextOf(const MultipleString& text, std::string_view language) {
  if (text.strings.empty()) return {};
  const auto chosen = std::find_if(text.strings.begin(), text.strings.end(),
                                   [&](const LanguageString& s) { return IsLanguage(s, language); });
  const LanguageString& string = chosen != text.strings.end() ? *chosen : text.strings.front();

  std::string out;
  for (const StringSegment& segment : string.segments) {
    // 1 and 2 are the Huffman tables; the other values are reserved and no
    // more readable, so they are shown the same way.
    if (segment.compression != 0) return std::string(kCompressedText);
    AppendSegment(out, segment);
  }
  std::erase(out, '\0');
  return out;
}
