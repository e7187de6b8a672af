#include "core/ts/TsPacket.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "core/ts/Crc32Mpeg.h"

TEST(TsPacketTest, BuildsAndReadsBackEveryHeaderField) {
  std::vector<std::uint8_t> payload(500);
  std::iota(payload.begin(), payload.end(), 0);
  const auto full = BuildTsPacket(0x1234, 0x1F, true, std::nullopt, payload);
  EXPECT_EQ(full.payloadTaken, 184u);
  EXPECT_TRUE(full.packet.HasSync());
  EXPECT_EQ(full.packet.Pid(), 0x1234 & 0x1FFF);
  EXPECT_TRUE(full.packet.PayloadUnitStart());
  EXPECT_EQ(full.packet.ContinuityCounter(), 0x0F);
  EXPECT_FALSE(full.packet.HasAdaptationField());
  EXPECT_EQ(full.packet.Payload()[0], 0);
  EXPECT_EQ(full.packet.Pcr(), std::nullopt);
}

TEST(TsPacketTest, PcrAndStuffingLeaveThePayloadAtTheEnd) {
  const Pcr27 pcr = 0x1FFFFFFFFull * 300 + 299;  // the largest PCR there is
  const std::vector<std::uint8_t> payload{1, 2, 3};
  const auto built = BuildTsPacket(0x31, 2, false, pcr, payload);
  EXPECT_EQ(built.payloadTaken, 3u);
  EXPECT_EQ(built.packet.Pcr(), pcr);
  const auto read = built.packet.Payload();
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[2], 3);

  const auto withPcr = BuildTsPacket(0x31, 2, false, Pcr27{27000000}, std::vector<std::uint8_t>(300));
  EXPECT_EQ(withPcr.payloadTaken, 176u);
  EXPECT_EQ(withPcr.packet.Pcr(), 27000000u);

  const auto almost = BuildTsPacket(0x31, 2, false, std::nullopt, std::vector<std::uint8_t>(183));
  EXPECT_EQ(almost.packet.Payload().size(), 183u);
}

TEST(TsPacketTest, DamagedAdaptationFieldGivesNoPayloadRatherThanAnOverrun) {
  TsPacket packet = TsPacket::Null();
  packet.bytes[3] = 0x30;
  packet.bytes[4] = 200;  // longer than the packet
  EXPECT_TRUE(packet.Payload().empty());
  packet.bytes[4] = 3;  // too short for the PCR it claims
  packet.bytes[5] = 0x10;
  EXPECT_EQ(packet.Pcr(), std::nullopt);
}

TEST(Crc32MpegTest, KnownCheckValue) {
  const std::uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(Crc32Mpeg(text), 0x0376E6E7u);
}

TEST(TsPacketTest, RandomAccessIndicatorWithAndWithoutPcr) {
  const std::vector<std::uint8_t> payload(400, 7);
  const auto plain = BuildTsPacket(0x31, 0, true, std::nullopt, payload, true);
  EXPECT_TRUE(plain.packet.RandomAccess());
  EXPECT_EQ(plain.packet.Pcr(), std::nullopt);
  EXPECT_EQ(plain.payloadTaken, 182u);
  const auto withPcr = BuildTsPacket(0x31, 1, true, Pcr27{600}, payload, true);
  EXPECT_TRUE(withPcr.packet.RandomAccess());
  EXPECT_EQ(withPcr.packet.Pcr(), 600u);
  EXPECT_FALSE(BuildTsPacket(0x31, 2, false, Pcr27{600}, payload).packet.RandomAccess());
}
