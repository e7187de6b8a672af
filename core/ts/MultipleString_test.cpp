#include "core/ts/MultipleString.h"

#include <gtest/gtest.h>

#include "core/testing/PsipSectionBuilder.h"

namespace {

using Builder = PsipSectionBuilder;
using Bytes = std::vector<std::uint8_t>;

std::string Decoded(const Bytes& bytes, std::string_view language = "eng") {
  const auto parsed = ParseMultipleString(bytes);
  return parsed ? TextOf(*parsed, language) : "<refused>";
}

}  // namespace

TEST(MultipleStringTest, DecodesUnicodePagesAndUtf16ToUtf8) {
  EXPECT_EQ(Decoded(Builder::Latin1Mss("Caf\xE9 \xA9")), "Caf\xC3\xA9 \xC2\xA9");
  // Mode 0x04 is the Cyrillic page: 0x14 is U+0414.
  EXPECT_EQ(Decoded(Builder::Mss({{"rus", {{0, 0x04, {0x14, 0x30}}}}})), "\xD0\x94\xD0\xB0");
  // A surrogate pair is one character; a high surrogate before a plain unit
  // and a lone low one become U+FFFD.
  EXPECT_EQ(Decoded(Builder::Utf16Mss({u'N', 0xD83D, 0xDCFA, 0xD800, u'x', 0xDC00})),
            "N\xF0\x9F\x93\xBA\xEF\xBF\xBDx\xEF\xBF\xBD");
  // Segments follow one another; half a UTF-16 unit, a mode that is not
  // decoded (0x3E) and NUL padding do not break the text.
  EXPECT_EQ(Decoded(Builder::Mss({{"eng",
                                   {{0, 0x00, {'A', 0x00}},
                                    {0, 0x3F, {0x00, 'B', 0x00}},
                                    {0, 0x3E, {0x12, 0x34, 0x56}},
                                    {0, 0x3F, {}},
                                    {0, 0x01, {0x00}}}}})),
            "AB\xEF\xBF\xBD\xEF\xBF\xBD\xC4\x80");
}

TEST(MultipleStringTest, ChoosesTheLanguageAndShowsCompressedText) {
  const Bytes twoLanguages =
      Builder::Mss({{"fra", {{0, 0, {'L', 'e'}}}}, {"eng", {{0, 0, {'T', 'h', 'e'}}}}});
  EXPECT_EQ(Decoded(twoLanguages), "The");
  EXPECT_EQ(Decoded(twoLanguages, "fra"), "Le");
  EXPECT_EQ(Decoded(twoLanguages, "FRA"), "Le");
  EXPECT_EQ(Decoded(twoLanguages, "spa"), "Le");  // not sent: the first
  EXPECT_EQ(Decoded({0}), "");                     // no strings
  EXPECT_EQ(Decoded({}), "");                      // a title length of 0

  // One Huffman-coded segment makes the whole string unreadable; another
  // language's plain text is still chosen when asked for.
  const Bytes compressed = Builder::Mss({{"eng", {{0, 0, {'A'}}, {1, 0, {0x9C, 0x41}}}},
                                         {"spa", {{0, 0, {'B'}}}}});
  EXPECT_EQ(Decoded(compressed), "(compressed text)");
  EXPECT_EQ(Decoded(Builder::Mss({{"eng", {{2, 0x3F, {0x12}}}}})), "(compressed text)");
  EXPECT_EQ(Decoded(compressed, "spa"), "B");
}

TEST(MultipleStringTest, ReadsTheWholeStructureAndRefusesOneCutShortOrWithBytesLeft) {
  const Bytes bytes = Builder::Mss({{"fra", {{0, 0x00, {'L', 'e'}}, {1, 0x3F, {}}}}, {"eng", {}}});
  const auto parsed = ParseMultipleString(bytes);
  ASSERT_TRUE(parsed);
  const MultipleString expected{{{{'f', 'r', 'a'}, {{0, 0x00, {'L', 'e'}}, {1, 0x3F, {}}}},
                                 {{'e', 'n', 'g'}, {}}}};
  EXPECT_EQ(*parsed, expected);

  for (std::size_t size = 1; size < bytes.size(); ++size) {
    EXPECT_FALSE(ParseMultipleString(std::span(bytes).first(size))) << size;
  }
  Bytes longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(ParseMultipleString(longer));
  EXPECT_FALSE(ParseMultipleString(Bytes{1, 'e', 'n', 'g', 1, 0, 0, 5, 'a', 'b'}));  // segment overruns
}
