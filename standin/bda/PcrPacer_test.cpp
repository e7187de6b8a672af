#include "standin/bda/PcrPacer.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/ts/TsPacket.h"

namespace standin {
namespace {

using std::chrono::milliseconds;
using TimePoint = PcrPacer::TimePoint;

constexpr PcrPacer::Pcr27 kTicksPerMs = 27000;
const TimePoint kStart = TimePoint{} + std::chrono::hours(1);

long long MsAfterStart(TimePoint t) {
  return std::chrono::duration_cast<milliseconds>(t - kStart).count();
}

TEST(PcrPacerTest, ChunksAreDueWhenTheirPcrTimeHasCome) {
  PcrPacer pacer;
  const PcrPacer::Pcr27 first = 1000 * kTicksPerMs;
  EXPECT_EQ(0, MsAfterStart(pacer.Schedule(1880, first, kStart)));
  // Delivered late or early, each chunk is due by its clock, not by when it
  // was asked for.
  EXPECT_EQ(40, MsAfterStart(pacer.Schedule(1880, first + 40 * kTicksPerMs, kStart + milliseconds(1))));
  EXPECT_EQ(80, MsAfterStart(pacer.Schedule(1880, first + 80 * kTicksPerMs, kStart + milliseconds(60))));
  // 1880 bytes every 40 ms.
  EXPECT_NEAR(47000.0, pacer.BytesPerSecond(), 1.0);
  // A chunk without a PCR follows by its size at that rate: 470 bytes, 10 ms.
  EXPECT_EQ(90, MsAfterStart(pacer.Schedule(470, std::nullopt, kStart + milliseconds(80))));
  // The next PCR puts the stream back on its clock.
  EXPECT_EQ(120, MsAfterStart(pacer.Schedule(1410, first + 120 * kTicksPerMs, kStart + milliseconds(90))));
}

TEST(PcrPacerTest, ALoopOrAJumpReanchorsWithoutPauseOrBurst) {
  PcrPacer pacer;
  const PcrPacer::Pcr27 first = 1000 * kTicksPerMs;
  pacer.Schedule(1880, first, kStart);
  pacer.Schedule(1880, first + 40 * kTicksPerMs, kStart);
  // The file loops: the PCR goes back to its first value. The chunk follows
  // 40 ms later by its size, and the clock counts on from there.
  EXPECT_EQ(80, MsAfterStart(pacer.Schedule(1880, first, kStart + milliseconds(40))));
  EXPECT_EQ(120, MsAfterStart(pacer.Schedule(1880, first + 40 * kTicksPerMs, kStart + milliseconds(80))));
  // A leap of an hour ahead is treated the same way.
  const PcrPacer::Pcr27 later = first + 3600000 * kTicksPerMs;
  EXPECT_EQ(160, MsAfterStart(pacer.Schedule(1880, later, kStart + milliseconds(120))));
  EXPECT_EQ(200, MsAfterStart(pacer.Schedule(1880, later + 40 * kTicksPerMs, kStart + milliseconds(160))));
}

TEST(PcrPacerTest, AStalledDelivererCatchesUpOnTheStreamClockOnly) {
  PcrPacer pacer;
  const PcrPacer::Pcr27 first = 1000 * kTicksPerMs;
  pacer.Schedule(1880, first, kStart);
  // Five seconds went by while the next chunk was 40 ms away: the chunks
  // keep their times, which have passed, so they go out at once until the
  // stream has caught up with the wall clock; one without a PCR between
  // them does not move the clock.
  const TimePoint late = kStart + milliseconds(5000);
  EXPECT_EQ(40, MsAfterStart(pacer.Schedule(1880, first + 40 * kTicksPerMs, late)));
  EXPECT_EQ(late, pacer.Schedule(940, std::nullopt, late));
  EXPECT_EQ(80, MsAfterStart(pacer.Schedule(940, first + 80 * kTicksPerMs, late)));
  // Twenty seconds behind is more than a device holds: on from now.
  const TimePoint stalled = kStart + milliseconds(20080);
  EXPECT_EQ(stalled, pacer.Schedule(1880, first + 120 * kTicksPerMs, stalled));
  EXPECT_EQ(20120, MsAfterStart(pacer.Schedule(1880, first + 160 * kTicksPerMs, stalled)));

  pacer.Restart();
  const TimePoint now = kStart + milliseconds(6000);
  EXPECT_EQ(now, pacer.Schedule(1880, 5 * kTicksPerMs, now));
}

TEST(PcrPacerTest, AStreamWithoutPcrIsPacedAtTheDefaultRateAndNeverBursts) {
  PcrPacer pacer;
  pacer.Schedule(188 * 100, std::nullopt, kStart);
  const std::size_t oneSecond = static_cast<std::size_t>(PcrPacer::kDefaultBytesPerSecond);
  EXPECT_NEAR(1000, MsAfterStart(pacer.Schedule(oneSecond, std::nullopt, kStart)), 1);
  // Five seconds late: on from now, not the owed seconds at once. A stray
  // PCR (noise that looks like one) starts no catching up either.
  const TimePoint late = kStart + milliseconds(6000);
  EXPECT_EQ(late, pacer.Schedule(188, std::nullopt, late));
  pacer.Schedule(188, 77 * kTicksPerMs, late);
  const TimePoint later = late + milliseconds(5000);
  EXPECT_EQ(later, pacer.Schedule(188, 123456789 * kTicksPerMs, later));
  // Noise met again as its file loops repeats its stray PCR: no clock
  // either, so still no burst.
  const TimePoint again = later + milliseconds(5000);
  EXPECT_EQ(again, pacer.Schedule(188, 123456789 * kTicksPerMs, again));
  EXPECT_EQ(again + milliseconds(3000), pacer.Schedule(188, std::nullopt, again + milliseconds(3000)));
}

std::vector<std::uint8_t> Packet(std::uint16_t pid, std::optional<Pcr27> pcr) {
  const std::uint8_t payload[4] = {1, 2, 3, 4};
  const TsPacket packet = BuildTsPacket(pid, 0, false, pcr, payload).packet;
  return {packet.bytes.begin(), packet.bytes.end()};
}

TEST(LastPcrInTest, FindsTheLastPcrOfTheFirstPcrPid) {
  std::vector<std::uint8_t> data;
  for (const auto& [pid, pcr] : {std::pair<std::uint16_t, std::optional<Pcr27>>{0x31, 100},
                                 {0x41, 900},  // another program's clock
                                 {0x31, 200},
                                 {0x31, std::nullopt}}) {
    const auto packet = Packet(pid, pcr);
    data.insert(data.end(), packet.begin(), packet.end());
  }
  std::optional<std::uint16_t> pid;
  EXPECT_EQ(200u, LastPcrIn(data, pid));
  EXPECT_EQ(0x31, pid);
  std::optional<std::uint16_t> other = 0x41;
  EXPECT_EQ(900u, LastPcrIn(data, other));
  std::optional<std::uint16_t> none;
  EXPECT_FALSE(LastPcrIn(std::span<const std::uint8_t>(data.data(), 100), none));
  EXPECT_FALSE(none);
}

TEST(LastPcrInTest, FindsPacketsAgainAfterTheStreamLostStep) {
  // A chunk that starts in the middle of a packet, a packet whose sync byte
  // is gone, seven stray bytes, and a truncated packet at the end.
  std::vector<std::uint8_t> data(100, 0x47);
  const auto add = [&](const std::vector<std::uint8_t>& bytes) {
    data.insert(data.end(), bytes.begin(), bytes.end());
  };
  add(Packet(0x31, 100));
  auto broken = Packet(0x31, 999);
  broken[0] = 0x00;
  add(broken);
  add(std::vector<std::uint8_t>(7, 0x47));
  add(Packet(0x31, 300));
  add(Packet(0x31, 400));
  const auto cut = Packet(0x31, 500);
  add(std::vector<std::uint8_t>(cut.begin(), cut.begin() + 120));

  std::optional<std::uint16_t> pid;
  EXPECT_EQ(400u, LastPcrIn(data, pid));
  EXPECT_EQ(0x31, pid);
}

}  // namespace
}  // namespace standin
