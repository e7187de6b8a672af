#include "core/ts/VirtualChannelTable.h"

#include <gtest/gtest.h>

#include <random>

#include "core/testing/PsipSectionBuilder.h"

namespace {

using Channel = PsipSectionBuilder::Channel;

Channel Full() {
  Channel c{u"WAAA-DT", 1023, 999, 0x02, true, true, true, 2, 0x04, 0x1234ABCD, 0x0815,
            0x0003, 0x0042, {0xA1, 0x02, 0x55, 0x66}};
  return c;
}

}  // namespace

TEST(VirtualChannelTableTest, ReadsEveryFieldAndDecodesNames) {
  Channel plain{.name = u"KB", .major = 7, .minor = 0, .serviceType = 0x01};
  Channel wide{.name = {u'\u00E9', 0xD83D, 0xDCFA, 0xDC00, u'x'}, .major = 1, .minor = 1, .serviceType = 0x03};
  const auto section = PsipSectionBuilder::Tvct(0x0815, 9, {Full(), plain, wide}, 1, 2);

  const auto parsed = ParseTvctSection(section);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->header.sectionNumber, 1);
  EXPECT_EQ(parsed->header.lastSectionNumber, 2);
  EXPECT_EQ(parsed->part.transportStreamId, 0x0815);
  EXPECT_EQ(parsed->part.version, 9);
  ASSERT_EQ(parsed->part.channels.size(), 3u);

  const VirtualChannel& full = parsed->part.channels[0];
  EXPECT_EQ(full.shortName, "WAAA-DT");
  EXPECT_EQ(full.major, 1023);
  EXPECT_EQ(full.minor, 999);
  EXPECT_EQ(full.modulationMode, 0x04);
  EXPECT_EQ(full.carrierFrequency, 0x1234ABCDu);
  EXPECT_EQ(full.channelTsid, 0x0815);
  EXPECT_EQ(full.programNumber, 3);
  EXPECT_EQ(full.etmLocation, 2);
  EXPECT_TRUE(full.accessControlled && full.hidden && full.hideGuide);
  EXPECT_EQ(full.serviceType, 0x02);
  EXPECT_EQ(full.sourceId, 0x42);
  EXPECT_EQ(full.descriptors, (std::vector<std::uint8_t>{0xA1, 0x02, 0x55, 0x66}));

  const VirtualChannel& kb = parsed->part.channels[1];
  EXPECT_EQ(kb.shortName, "KB");  // the NUL padding is dropped
  EXPECT_EQ(kb.major, 7);
  EXPECT_EQ(kb.minor, 0);
  EXPECT_FALSE(kb.accessControlled || kb.hidden || kb.hideGuide);
  EXPECT_EQ(kb.serviceType, 0x01);
  // A surrogate pair is one character; a lone low surrogate becomes U+FFFD.
  EXPECT_EQ(parsed->part.channels[2].shortName, "\xC3\xA9\xF0\x9F\x93\xBA\xEF\xBF\xBDx");
}

TEST(VirtualChannelTableTest, DamagedSectionsAreRefusedWithoutReadingPastThem) {
  const auto good = PsipSectionBuilder::Tvct(1, 0, {Full(), Full()});
  ASSERT_TRUE(ParseTvctSection(good));
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(ParseTvctSection(std::span(good).first(size))) << size;
  }
  auto badCrc = good;
  badCrc[20] ^= 0x10;
  EXPECT_FALSE(ParseTvctSection(badCrc));

  PsipSectionBuilder moreThanSent(0xC8, 1, 0);
  moreThanSent.U8(3).AddChannel(Full()).AddChannel(Full()).Descriptors({}, 10);
  EXPECT_FALSE(ParseTvctSection(moreThanSent.Finish()));
  PsipSectionBuilder longDescriptors(0xC8, 1, 0);
  longDescriptors.U8(0).U16(0xFC00 | 40).U32(0);
  EXPECT_FALSE(ParseTvctSection(longDescriptors.Finish()));
  EXPECT_FALSE(ParseTvctSection(PsipSectionBuilder::Tvct(1, 0, {}, 2, 1)));  // section 2 of 0..1
  auto protocol1 = good;
  protocol1[8] = 1;  // a layout this reader does not know
  EXPECT_FALSE(ParseTvctSection(PsipSectionBuilder::Recrc(protocol1)));

  // Random damage behind a CRC made to match reaches the channel loop.
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    auto damaged = good;
    for (int flips = 0; flips < 3; ++flips) damaged[9 + random() % (damaged.size() - 13)] = random() & 0xFF;
    damaged = PsipSectionBuilder::Recrc(damaged);
    if (const auto parsed = ParseTvctSection(damaged)) {
      EXPECT_LE(parsed->part.channels.size(), 2u);
    }
  }
}
