#include "GuideSerializer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/testing/PsipSectionBuilder.h"

namespace {

using Builder = PsipSectionBuilder;
using Bytes = std::vector<std::uint8_t>;

EitEvent Event(std::uint16_t id, std::uint32_t start, std::string title) {
  EitEvent event;
  event.eventId = id;
  event.startTime = start;
  event.etmLocation = 1;
  event.lengthSeconds = 1800;
  event.title = MakeMultipleString(title);
  return event;
}

}  // namespace

// Compared with the test builder, written apart from this serializer from
// the wire layout, so a field out of place fails even where the core's
// reader would read it back the same wrong way.
TEST(GuideSerializerTest, WritesTheWireLayout) {
  EXPECT_EQ(SerializeMultipleString(MakeMultipleString("News")), Builder::Latin1Mss("News"));
  EXPECT_EQ(SerializeMultipleString(MakeMultipleString("caf\xC3\xA9")), Builder::Latin1Mss("caf\xE9"));
  EXPECT_EQ(SerializeMultipleString(MakeMultipleString("\xD0\x9D\xD0\xBE\xD0\xB2\xD0\xBE\xD1\x81\xD1\x82\xD0\xB8")),
            Builder::Utf16Mss(u"\u041D\u043E\u0432\u043E\u0441\u0442\u0438"));
  EXPECT_EQ(SerializeMultipleString(MakeMultipleString("")), (Bytes{1, 'e', 'n', 'g', 0}));

  Eit eit;
  eit.sourceId = 0x0042;
  eit.version = 17;
  eit.events = {Event(0x3FFF, 0xFEDCBA98, "News"), Event(5, 1000, "Film")};
  eit.events[0].lengthSeconds = 0xFFFFF;
  eit.events[0].etmLocation = 2;
  eit.events[0].descriptors = {0x86, 0x01, 0x77};
  eit.events[1].etmLocation = 0;
  const auto sections = SerializeEit(eit);
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0],
            Builder::Eit(0x0042, 17,
                         {{.eventId = 0x3FFF, .start = 0xFEDCBA98, .length = 0xFFFFF,
                           .title = Builder::Latin1Mss("News"), .etmLocation = 2, .descriptors = {0x86, 0x01, 0x77}},
                          {.eventId = 5, .start = 1000, .length = 1800, .title = Builder::Latin1Mss("Film"),
                           .etmLocation = 0}}));

  Ett ett;
  ett.idExtension = 9;
  ett.etmId = EventEtmId(0x42, 5);
  ett.text = MakeMultipleString("The day's news.");
  EXPECT_EQ(SerializeEtt(ett), Builder::Ett(0x00420016, Builder::Latin1Mss("The day's news."), 0, 9));
}

// A long text is cut into segments of at most 255 bytes, UTF-16 never
// between the two units of a pair, and reads back as the same text.
TEST(GuideSerializerTest, TextsReadBackTheSame) {
  const std::string latin(600, 'a');
  std::string wide = "\xE6\x97\xA5\xE6\x9C\xAC";  // two CJK characters
  for (int i = 0; i < 100; ++i) wide += "\xF0\x9F\x93\xBA";  // U+1F4FA, a pair of units
  for (const std::string& text : {latin, wide, std::string("S\xC3\xA9rie \xE2\x80\x94 \xC3\xA9t\xC3\xA9")}) {
    const MultipleString written = MakeMultipleString(text);
    for (const StringSegment& segment : written.strings.at(0).segments) {
      EXPECT_LE(segment.bytes.size(), 255u);
      if (segment.mode == 0x3F) {
        ASSERT_EQ(segment.bytes.size() % 2, 0u);
        const unsigned lastUnit = (segment.bytes[segment.bytes.size() - 2] << 8) | segment.bytes.back();
        EXPECT_FALSE(lastUnit >= 0xD800 && lastUnit <= 0xDBFF);
      }
    }
    const auto read = ParseMultipleString(SerializeMultipleString(written));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, written);
    EXPECT_EQ(TextOf(*read), text);
  }
  EXPECT_EQ(MakeMultipleString(latin).strings[0].segments.size(), 3u);
  // 202 units: the 127th is the first of a pair, so the first segment ends before it.
  EXPECT_EQ(MakeMultipleString(wide).strings[0].segments[0].bytes.size(), 252u);
  EXPECT_EQ(MakeMultipleString(wide).strings[0].segments.size(), 2u);
  EXPECT_EQ(MakeMultipleString(wide).strings[0].segments[0].mode, 0x3F);
  EXPECT_THROW(MakeMultipleString("caf\xE9"), std::invalid_argument);  // Latin-1, not UTF-8
}

// More events than one section holds: numbered sections, each at most 4096
// bytes, whose events put together are the table written.
TEST(GuideSerializerTest, ALargeEitIsSplitIntoSectionsThatReadBackWhole) {
  Eit eit;
  eit.sourceId = 3;
  eit.version = 4;
  for (std::uint16_t id = 1; id <= 300; ++id) {
    eit.events.push_back(Event(id, 1'449'000'000u + id * 60u, "Quiz Bites " + std::to_string(id)));
  }
  // Long titles, one of them UTF-16 with characters outside Latin-1.
  eit.events[7].title = MakeMultipleString(std::string(200, 'L'));
  eit.events[8].title = MakeMultipleString("\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 " +
                                           std::string(100, 'x'));
  const auto sections = SerializeEit(eit);
  ASSERT_EQ(sections.size(), 3u);  // about 110 events of 36 bytes a section
  Eit whole;
  for (std::size_t n = 0; n < sections.size(); ++n) {
    EXPECT_LE(sections[n].size(), 4096u);
    const auto parsed = ParseEitSection(sections[n]);
    ASSERT_TRUE(parsed) << n;
    EXPECT_EQ(parsed->header.sectionNumber, n);
    EXPECT_EQ(parsed->header.lastSectionNumber, 2);
    EXPECT_EQ(parsed->header.idExtension, 3);
    if (n == 0) whole = parsed->part;
    else AppendSection(whole, parsed->part);
  }
  EXPECT_EQ(whole, eit);
  EXPECT_EQ(TextOf(whole.events[8].title).substr(0, 17), "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 ");

  // 40 events with 240-character titles: 15 fill a section.
  Eit big;
  for (std::uint16_t id = 1; id <= 40; ++id) big.events.push_back(Event(id, id, std::string(240, 'T')));
  const auto bigSections = SerializeEit(big);
  ASSERT_EQ(bigSections.size(), 3u);
  for (const auto& section : bigSections) EXPECT_LE(section.size(), 4096u);
  EXPECT_GT(bigSections[0].size(), 4096u - 262);

  // Events without a title string are 15 bytes: the count of 255 a section
  // ends the first before its bytes do.
  Eit many;
  for (std::uint16_t id = 1; id <= 300; ++id) {
    many.events.push_back(Event(id, id, ""));
    many.events.back().title = {};
  }
  const auto manySections = SerializeEit(many);
  ASSERT_EQ(manySections.size(), 2u);
  ASSERT_TRUE(ParseEitSection(manySections[0]));
  EXPECT_EQ(ParseEitSection(manySections[0])->part.events.size(), 255u);

  const auto empty = SerializeEit(Eit{});
  ASSERT_EQ(empty.size(), 1u);
  ASSERT_TRUE(ParseEitSection(empty[0]));
  EXPECT_TRUE(ParseEitSection(empty[0])->part.events.empty());
}

TEST(GuideSerializerTest, AnEttReadsBackWithItsEventsId) {
  Ett ett;
  ett.idExtension = 0x0102;
  ett.version = 3;
  ett.etmId = EventEtmId(7, 0x3FFF);
  ett.text = MakeMultipleString("\xE2\x80\x9C" "Chess by night\xE2\x80\x9D, live. " + std::string(900, '.'));
  const auto section = SerializeEtt(ett);
  const auto parsed = ParseEttSection(section);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->part, ett);
  EXPECT_EQ(parsed->part.etmId, 0x0007FFFEu);
}

TEST(GuideSerializerTest, ValuesTheTablesCannotCarryAreRefused) {
  Eit eit;
  eit.events = {Event(0x4000, 0, "Id past 14 bits")};
  EXPECT_THROW(SerializeEit(eit), std::invalid_argument);
  eit.events = {Event(1, 0, "Length past 20 bits")};
  eit.events[0].lengthSeconds = 0x100000;
  EXPECT_THROW(SerializeEit(eit), std::invalid_argument);
  eit.events = {Event(1, 0, std::string(250, 'x'))};  // 258 bytes with the string's header
  EXPECT_THROW(SerializeEit(eit), std::length_error);

  MultipleString tooManySegments{{LanguageString{}}};
  tooManySegments.strings[0].segments.resize(256);
  EXPECT_THROW(SerializeMultipleString(tooManySegments), std::length_error);
  Ett ett;
  ett.text = MakeMultipleString(std::string(4080, 'x'));
  EXPECT_THROW(SerializeEtt(ett), std::length_error);
}
