#include "core/ts/SystemTimeTable.h"

#include <gtest/gtest.h>

#include "core/testing/PsipSectionBuilder.h"

TEST(SystemTimeTableTest, GpsSecondsLessTheLeapSecondsGiveUtc) {
  // 2026-12-09 09:00:00 UTC, with GPS time 18 seconds ahead of UTC; daylight
  // saving time in force, ending on the 7th at 2:00.
  PsipSectionBuilder builder(0xCD, 0, 0);
  const auto section = builder.U32(1480842018).U8(18).U8(0x80 | 0x60 | 7).U8(2).U8(0xAA).Finish();
  const auto parsed = ParseSttSection(section);
  ASSERT_TRUE(parsed);
  const Stt& stt = parsed->part;
  EXPECT_EQ(stt.systemTime, 1480842018u);
  EXPECT_EQ(stt.gpsUtcOffset, 18);
  EXPECT_TRUE(stt.daylightSaving);
  EXPECT_EQ(stt.daylightSavingDay, 7);
  EXPECT_EQ(stt.daylightSavingHour, 2);
  EXPECT_EQ(stt.descriptors, std::vector<std::uint8_t>{0xAA});
  EXPECT_EQ(UtcUnixSeconds(stt), 1796806800);

  EXPECT_EQ(UtcUnixSeconds(Stt{}), 315964800);  // the GPS epoch
  Stt latest;
  latest.systemTime = 0xFFFFFFFF;
  latest.gpsUtcOffset = 255;
  EXPECT_EQ(UtcUnixSeconds(latest), 4610931840);  // past 2038, no overflow

  PsipSectionBuilder shortTable(0xCD, 0, 0);
  EXPECT_FALSE(ParseSttSection(shortTable.U32(1480842018).U8(18).U8(0).Finish()));
}
