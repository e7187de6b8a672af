#include "core/ts/MasterGuideTable.h"

#include <gtest/gtest.h>

#include "core/testing/PsipSectionBuilder.h"

TEST(MasterGuideTableTest, ReadsTheTableListAndRefusesAnOverrun) {
  PsipSectionBuilder builder(0xC7, 0, 5);
  builder.U16(3);
  builder.U16(0x0000).U16(0xE000 | 0x1FFB).U8(0xE0 | 7).U32(1234).Descriptors({}, 12);
  builder.U16(0x0100).U16(0xE000 | 0x1D00).U8(0xE0 | 31).U32(0xFFFFFFFF).Descriptors({0x80, 0}, 12);
  builder.U16(0x0004).U16(0xE000 | 0x1D10).U8(0xE0).U32(0).Descriptors({}, 12);
  const auto section = builder.Descriptors({0x81, 1, 9}, 12).Finish();

  const auto parsed = ParseMgtSection(section);
  ASSERT_TRUE(parsed);
  const Mgt& mgt = parsed->part;
  EXPECT_EQ(mgt.version, 5);
  const std::vector<MgtEntry> expected{{0x0000, 0x1FFB, 7, 1234, {}},
                                       {0x0100, 0x1D00, 31, 0xFFFFFFFF, {0x80, 0}},
                                       {0x0004, 0x1D10, 0, 0, {}}};
  EXPECT_EQ(mgt.tables, expected);
  EXPECT_EQ(mgt.descriptors, (std::vector<std::uint8_t>{0x81, 1, 9}));
  EXPECT_EQ(mgt.FindTable(kTableTypeTvctCurrent)->byteCount, 1234u);
  EXPECT_EQ(mgt.FindTable(kTableTypeChannelEtt)->pid, 0x1D10);
  EXPECT_FALSE(mgt.FindTable(kTableTypeTvctNext));

  PsipSectionBuilder tooMany(0xC7, 0, 5);
  tooMany.U16(2).U16(0).U16(0x1FFB).U8(0).U32(0).Descriptors({}, 12).Descriptors({}, 12);
  EXPECT_FALSE(ParseMgtSection(tooMany.Finish()));
  for (std::size_t size = 0; size < section.size(); ++size) {
    EXPECT_FALSE(ParseMgtSection(std::span(section).first(size))) << size;
  }
  EXPECT_FALSE(ParseMgtSection(PsipSectionBuilder::Tvct(0, 5, {})));  // a TVCT is no MGT
}
