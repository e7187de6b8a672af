#include "PsipSerializer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/testing/PsipSectionBuilder.h"
#include "core/ts/PsipCollector.h"

namespace {

VirtualChannel Channel(std::string name, int major, int minor, std::uint16_t program) {
  VirtualChannel c;
  c.shortName = std::move(name);
  c.major = major;
  c.minor = minor;
  c.modulationMode = 0x04;
  c.channelTsid = 33;
  c.programNumber = program;
  c.serviceType = 0x02;
  c.sourceId = program;
  return c;
}

}  // namespace

// The bytes are compared with the test builder, written apart from this
// serializer from the wire layout, so a field in the wrong place fails here
// even where the core's reader would read it back the same wrong way.
TEST(PsipSerializerTest, WritesTheSameBytesAsTheWireLayout) {
  Tvct tvct;
  tvct.transportStreamId = 33;
  tvct.version = 3;
  tvct.channels = {Channel("WTTT", 33, 1, 1), Channel("WTTT 4", 33, 4, 4)};
  tvct.channels[1].hidden = true;
  tvct.channels[1].descriptors = {0xA0, 0x01, 0x41};
  const auto sections = SerializeTvct(tvct);
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0],
            PsipSectionBuilder::Tvct(
                33, 3,
                {{.name = u"WTTT", .major = 33, .minor = 1, .tsid = 33, .program = 1, .sourceId = 1},
                 {.name = u"WTTT 4", .major = 33, .minor = 4, .hidden = true, .tsid = 33,
                  .program = 4, .sourceId = 4, .descriptors = {0xA0, 0x01, 0x41}}}));

  PsipSectionBuilder mgt(0xC7, 0x0000, 1);
  mgt.U16(1).U16(0x0000).U16(0xFFFB).U8(0xE3).U32(208).Descriptors({}, 12).Descriptors({}, 12);
  EXPECT_EQ(SerializeMgt(Mgt{1, 0, {{0x0000, 0x1FFB, 3, 208, {}}}, {}}), mgt.Finish());

  PsipSectionBuilder stt(0xCD, 0x0000, 0);
  stt.U32(1'449'000'000).U8(18).U8(0xE0 | 14).U8(2);
  Stt time;
  time.systemTime = 1'449'000'000;
  time.gpsUtcOffset = 18;
  time.daylightSaving = true;
  time.daylightSavingDay = 14;
  time.daylightSavingHour = 2;
  EXPECT_EQ(SerializeStt(time), stt.Finish());
}

// More channels than one section holds: the table is cut into numbered
// sections that the collector puts back together, equal to what was written.
TEST(PsipSerializerTest, ALargeTableIsSplitIntoSectionsThatReadBackWhole) {
  Tvct tvct;
  tvct.transportStreamId = 0x0815;
  tvct.version = 7;
  for (int minor = 1; minor <= 40; ++minor) {
    tvct.channels.push_back(Channel("CH " + std::to_string(minor), 2, minor,
                                    static_cast<std::uint16_t>(minor)));
  }
  tvct.channels[0].shortName = "\xF0\x9F\x93\xBA" "caf\xC3\xA9";  // a pair of units, then an e acute
  tvct.channels[1].descriptors.assign(60, 0x80);
  tvct.channels[2].etmLocation = 2;
  tvct.channels[2].carrierFrequency = 473'000'000;
  tvct.channels[3].hideGuide = true;
  tvct.channels[3].accessControlled = true;
  tvct.descriptors = {0xAD, 0x02, 0x01, 0x02};

  const auto sections = SerializeTvct(tvct);
  ASSERT_EQ(sections.size(), 2u);
  PsipCollector collector;
  for (auto it = sections.rbegin(); it != sections.rend(); ++it) {
    EXPECT_LE(it->size(), 1024u);
    collector.Feed(*it);
  }
  EXPECT_EQ(collector.DamagedSections(), 0);
  ASSERT_TRUE(collector.CompleteTvct());
  EXPECT_EQ(*collector.CompleteTvct(), tvct);
}

TEST(PsipSerializerTest, TextThatCannotBeAShortNameIsRefused) {
  EXPECT_EQ(Utf16Units("WSVN HD"), u"WSVN HD");
  EXPECT_EQ(Utf16Units("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x93\xBA"), u"\u00E9\u20AC\U0001F4FA");
  EXPECT_FALSE(Utf16Units("WSVN\xC3"));          // cut short
  EXPECT_FALSE(Utf16Units("\xC0\xAF"));          // overlong
  EXPECT_FALSE(Utf16Units("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(Utf16Units("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(Utf16Units("\xE9t\xE9"));         // Latin-1

  Tvct tvct;
  tvct.channels = {Channel("WSVN HD2", 7, 2, 2)};
  EXPECT_THROW(SerializeTvct(tvct), std::invalid_argument);
  tvct.channels = {Channel("WSVN", 7, 2, 2)};
  tvct.channels[0].descriptors.assign(1000, 0);  // fits its length field, not a section
  EXPECT_THROW(SerializeTvct(tvct), std::length_error);
}
