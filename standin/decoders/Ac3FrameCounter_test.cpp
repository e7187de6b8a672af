#include "standin/decoders/Ac3FrameCounter.h"

#include "tools/tsgen/Ac3Frames.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Frames(int count) {
  std::vector<std::uint8_t> out;
  for (int i = 0; i < count; ++i) {
    const auto frame = Ac3Frames().Frame();
    out.insert(out.end(), frame.begin(), frame.end());
  }
  return out;
}

TEST(Ac3FrameCounter, CountsGeneratedFramesWhereverTheyAreCut) {
  const auto stream = Frames(10);
  for (std::size_t piece : {1u, 5u, 184u, 768u, 1000u, 7680u}) {
    Ac3FrameCounter counter;
    int frames = 0;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
      frames += counter.Feed({stream.data() + at, std::min(piece, stream.size() - at)});
    }
    EXPECT_EQ(10, frames) << "pieces of " << piece;
    EXPECT_EQ(48000, counter.SampleRate());
    EXPECT_EQ(0u, counter.SkippedBytes());
  }
}

TEST(Ac3FrameCounter, SkipsDamageBetweenFramesAndWaitsForAnIncompleteFrame) {
  auto stream = Frames(1);
  // Stray bytes, a false sync word with an invalid size code, then a frame.
  const std::vector<std::uint8_t> junk = {0x12, 0x0B, 0x77, 0x00, 0x00, 0x3F, 0x99};
  stream.insert(stream.end(), junk.begin(), junk.end());
  const auto second = Frames(1);
  stream.insert(stream.end(), second.begin(), second.end() - 100);

  Ac3FrameCounter counter;
  EXPECT_EQ(1, counter.Feed(stream));
  EXPECT_EQ(junk.size(), counter.SkippedBytes());
  EXPECT_EQ(1, counter.Feed({second.data() + second.size() - 100, 100}));

  // After a reset the cut-off rest of a frame is not counted.
  EXPECT_EQ(0, counter.Feed({second.data(), 300}));
  counter.Reset();
  EXPECT_EQ(0, counter.Feed({second.data() + 300, second.size() - 300}));
}

TEST(Ac3FrameCounter, FrameSizesOfTheThreeSampleRates) {
  EXPECT_EQ(768u, Ac3FrameCounter::FrameBytes(0, 20));   // 48 kHz, 192 kbit/s
  EXPECT_EQ(128u, Ac3FrameCounter::FrameBytes(0, 0));    // 48 kHz, 32 kbit/s
  EXPECT_EQ(138u, Ac3FrameCounter::FrameBytes(1, 0));    // 44.1 kHz, 69 words
  EXPECT_EQ(140u, Ac3FrameCounter::FrameBytes(1, 1));    // odd code: one word more
  EXPECT_EQ(3840u, Ac3FrameCounter::FrameBytes(2, 37));  // 32 kHz, 640 kbit/s
  EXPECT_EQ(0u, Ac3FrameCounter::FrameBytes(0, 38));
  EXPECT_EQ(0u, Ac3FrameCounter::FrameBytes(3, 0));
}

}  // namespace
