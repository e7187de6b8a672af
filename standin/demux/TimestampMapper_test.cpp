#include "standin/demux/TimestampMapper.h"

#include <gtest/gtest.h>

namespace {
constexpr std::int64_t kSecond = 10'000'000;  // 100 ns units
constexpr std::uint64_t kPts1s = 90'000;
constexpr Pcr27 kPcr1s = 27'000'000;
}  // namespace

TEST(TimestampMapperTest, FileStartsAtTheFirstPtsAndFollowsItAcrossTheWrap) {
  TimestampMapper mapper;
  const std::uint64_t nearWrap = (1ull << 33) - kPts1s / 2;
  EXPECT_EQ(mapper.Map(nearWrap, false), TimestampMapper::kFileLead);
  EXPECT_EQ(mapper.Map(nearWrap + kPts1s / 10, false), TimestampMapper::kFileLead + kSecond / 10);
  // Half a second later the PTS has wrapped round to a small number.
  EXPECT_EQ(mapper.Map(kPts1s / 2, false), TimestampMapper::kFileLead + kSecond);
  // Audio slightly before the first video still maps, just before it.
  EXPECT_EQ(mapper.Map(nearWrap - 900, false), TimestampMapper::kFileLead - kSecond / 100);
}

TEST(TimestampMapperTest, LiveTiesThePcrToTheClock) {
  TimestampMapper mapper;
  EXPECT_FALSE(mapper.Map(5 * kPts1s, true)) << "no time before the first PCR";
  mapper.OnPcr(4 * kPcr1s, 3 * kSecond);
  // PTS half a second ahead of the PCR: presented half a second after now.
  EXPECT_EQ(mapper.Map(4 * kPts1s + kPts1s / 2, true), 3 * kSecond + kSecond / 2);
  // Later PCRs on the same clock do not move the anchor.
  mapper.OnPcr(5 * kPcr1s, 4 * kSecond + kSecond / 10);
  EXPECT_EQ(mapper.Map(5 * kPts1s + kPts1s / 2, true), 4 * kSecond + kSecond / 2);
  EXPECT_EQ(mapper.Jumps(), 0);
}

// A looping source starts its clock again; so does a new channel.
TEST(TimestampMapperTest, ClockJumpsTieTheClockAnew) {
  TimestampMapper live;
  live.OnPcr(10 * kPcr1s, 0);
  live.OnPcr(1 * kPcr1s, 20 * kSecond);  // back to the start of the file
  EXPECT_EQ(live.Jumps(), 1);
  EXPECT_EQ(live.Map(1 * kPts1s + kPts1s / 2, true), 20 * kSecond + kSecond / 2);
  live.OnPcr(1 * kPcr1s + 3 * kPcr1s, 23 * kSecond);  // three seconds ahead at once
  EXPECT_EQ(live.Jumps(), 2);

  TimestampMapper file;
  file.OnPcr(10 * kPcr1s, std::nullopt);
  file.Map(10 * kPts1s, false);
  const auto last = file.Map(12 * kPts1s, false);
  file.OnPcr(1 * kPcr1s, std::nullopt);
  EXPECT_EQ(file.Jumps(), 1);
  // The file goes on from the latest time handed out, never back.
  EXPECT_EQ(file.Map(1 * kPts1s, false), last);
  EXPECT_EQ(file.Map(2 * kPts1s, false), *last + kSecond);
}

TEST(TimestampMapperTest, ResetWaitsForANewAnchor) {
  TimestampMapper mapper;
  mapper.OnPcr(kPcr1s, 0);
  mapper.Reset();
  EXPECT_FALSE(mapper.Map(kPts1s, true));
  mapper.OnPcr(7 * kPcr1s, 2 * kSecond);
  EXPECT_EQ(mapper.Map(7 * kPts1s, true), 2 * kSecond);
  EXPECT_EQ(mapper.Jumps(), 0) << "the first PCR after a reset is no jump";
}
