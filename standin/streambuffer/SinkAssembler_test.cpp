#include "standin/streambuffer/SinkAssembler.h"

#include <gtest/gtest.h>

namespace streambuffer {
namespace {

struct Collected {
  Elementary stream;
  std::uint64_t pts;
  std::vector<std::uint8_t> data;
  bool randomAccess;
};

const std::vector<std::uint8_t> kSequencePicture{0, 0, 1, 0xB3, 0x50, 0x02, 0xD0, 9, 9};
const std::vector<std::uint8_t> kPicture{0, 0, 1, 0x00, 7, 7};
const std::vector<std::uint8_t> kSound{0x0B, 0x77, 1, 2};

class SinkAssemblerTest : public ::testing::Test {
 protected:
  SinkAssembler assembler{[this](const SinkUnit& unit) {
    units.push_back({unit.stream, unit.pts, {unit.data.begin(), unit.data.end()}, unit.randomAccess});
  }};
  std::vector<Collected> units;

  void Send(Elementary stream, const std::vector<std::uint8_t>& data, std::optional<std::int64_t> time,
            std::optional<std::uint64_t> pts = std::nullopt) {
    assembler.Receive(stream, {data, time, pts, false});
  }
};

TEST_F(SinkAssemblerTest, StartsAtASequenceJoinsCutSamplesAndKeepsTimeAcrossALoop) {
  // Sound and a picture without a sequence before the first one: left out.
  Send(Elementary::Audio, kSound, 0, 200000);
  Send(Elementary::Video, kPicture, 0, 200000);
  // The first sequence, cut over two buffers; the second carries no time.
  Send(Elementary::Video, {kSequencePicture.begin(), kSequencePicture.begin() + 4}, 333667, 203003);
  Send(Elementary::Video, {kSequencePicture.begin() + 4, kSequencePicture.end()}, std::nullopt);
  Send(Elementary::Audio, kSound, 400000, 203600);
  // The source loops: its own PTS go back, the stream time runs on.
  Send(Elementary::Video, kPicture, 667334, 90000);
  Send(Elementary::Video, kPicture, 1001001, 93003);
  assembler.Flush();

  // A unit goes out when the next of its stream begins (or at the flush).
  ASSERT_EQ(units.size(), 4u);
  EXPECT_EQ(units[0].stream, Elementary::Video);
  EXPECT_TRUE(units[0].randomAccess);
  EXPECT_EQ(units[0].data, kSequencePicture);
  // Times count from the first timed sample, which set the base PTS.
  EXPECT_EQ(units[0].pts, 200000u + 3003);
  EXPECT_EQ(units[1].pts, 200000u + 6006);
  EXPECT_EQ(units[2].pts, 200000u + 9009);
  EXPECT_FALSE(units[2].randomAccess);
  EXPECT_EQ(units[3].stream, Elementary::Audio);
  EXPECT_EQ(units[3].pts, 200000u + 3600);
}

TEST_F(SinkAssemblerTest, AudioAloneStartsAtOnceAndARestartGoesOnFromTheLastUnit) {
  assembler.ExpectVideo(false);
  Send(Elementary::Audio, kSound, 0, std::nullopt);  // no PTS of its own: from 1 s
  Send(Elementary::Audio, kSound, 320000);
  assembler.Restart();  // hands on what is pending
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].pts, 90000u);
  EXPECT_EQ(units[1].pts, 90000u + 2880);
  Send(Elementary::Audio, kSound, 0);
  Send(Elementary::Audio, kSound, 320000);
  assembler.Flush();
  ASSERT_EQ(units.size(), 4u);
  EXPECT_EQ(units[2].pts, 90000u + 2880 + 3000);
  // A piece whose sample is unknown (data lost before it) is left out.
  assembler.Receive(Elementary::Audio, {kSound, std::nullopt, std::nullopt, true});
  assembler.Flush();
  EXPECT_EQ(units.size(), 4u);
}

TEST(SinkAssemblerSequenceTest, FindsASequenceHeaderNearTheStartOnly) {
  EXPECT_TRUE(SinkAssembler::StartsSequence(kSequencePicture));
  EXPECT_FALSE(SinkAssembler::StartsSequence(kPicture));
  std::vector<std::uint8_t> late(300, 0xFF);
  late.insert(late.end(), kSequencePicture.begin(), kSequencePicture.end());
  EXPECT_FALSE(SinkAssembler::StartsSequence(late));
  EXPECT_FALSE(SinkAssembler::StartsSequence({}));
}

}  // namespace
}  // namespace streambuffer
