#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The multiple-string structure of the guide tables: the same text in one or
// more languages, each as segments with their own compression and mode.
// Kept as sent, so that what is read writes back the same; TextOf decodes it.

// One segment: a compression type (0 = none, 1 and 2 = the Huffman tables),
// a mode (0x00 Latin-1 and the other Unicode pages, 0x3F UTF-16, ...), and
// its bytes.
struct StringSegment {
  std::uint8_t compression = 0;
  std::uint8_t mode = 0;
  std::vector<std::uint8_t> bytes;

  friend bool operator==(const StringSegment&, const StringSegment&) = default;
};

struct LanguageString {
  std::array<char, 3> language{{'e', 'n', 'g'}};  // ISO 639-2
  std::vector<StringSegment> segments;

  friend bool operator==(const LanguageString&, const LanguageString&) = default;
};

struct MultipleString {
  std::vector<LanguageString> strings;

  friend bool operator==(const MultipleString&, const MultipleString&) = default;
};

// Shown for a string whose segments are compressed (the Huffman modes are
// not decoded).
inline constexpr std::string_view kCompressedText = "(compressed text)";

// Reads a multiple-string structure of exactly `bytes`; nothing when it is
// cut short or has bytes left over. No bytes at all (a title length of 0)
// is a structure without strings.
std::optional<MultipleString> ParseMultipleString(std::span<const std::uint8_t> bytes);

// The text in UTF-8: the string in `language` if sent, else the first.
// Uncompressed segments are decoded (a Unicode page mode as that page, 0x3F
// as UTF-16, a broken unit as U+FFFD, a segment in any other mode as one
// U+FFFD) and NUL characters dropped; a compressed segment makes the whole
// text kCompressedText. Empty when there is no string.
std::string TextOf(const MultipleString& text, std::string_view language = "eng");
