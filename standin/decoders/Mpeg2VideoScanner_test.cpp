#include "standin/decoders/Mpeg2VideoScanner.h"

#include "tools/tsgen/Mpeg2VideoFrames.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Pictures(int width, int height, bool wide, int count) {
  Mpeg2VideoFrames frames(width, height, wide);
  std::vector<std::uint8_t> out;
  for (int i = 0; i < count; ++i) {
    const auto picture = frames.Picture(static_cast<std::uint64_t>(i));
    out.insert(out.end(), picture.begin(), picture.end());
  }
  return out;
}

TEST(Mpeg2VideoScanner, ReadsSizeAspectAndPicturesOfGeneratedStreams) {
  struct Case {
    int width, height;
    bool wide;
    int aspectCode;
  };
  for (const Case c : {Case{1920, 1080, true, 3}, Case{720, 480, false, 2},
                       Case{1280, 720, true, 3}}) {
    Mpeg2VideoScanner scanner;
    EXPECT_EQ(20, scanner.Feed(Pictures(c.width, c.height, c.wide, 20)));
    ASSERT_TRUE(scanner.HasSequence());
    EXPECT_EQ(c.width, scanner.Sequence().width);
    EXPECT_EQ(c.height, scanner.Sequence().height);
    EXPECT_EQ(c.aspectCode, scanner.Sequence().aspectCode);
    EXPECT_EQ(4, scanner.Sequence().frameRateCode);
    EXPECT_EQ(1, scanner.SequenceChanges());  // the same header again is no change
  }
}

TEST(Mpeg2VideoScanner, FindsTheSameWhereverTheStreamIsCut) {
  const auto stream = Pictures(1920, 1080, true, 16);
  for (std::size_t piece : {1u, 2u, 3u, 5u, 7u, 188u}) {
    Mpeg2VideoScanner scanner;
    int pictures = 0;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
      const std::size_t take = std::min(piece, stream.size() - at);
      pictures += scanner.Feed({stream.data() + at, take});
    }
    EXPECT_EQ(16, pictures) << "pieces of " << piece;
    EXPECT_EQ(1920, scanner.Sequence().width) << "pieces of " << piece;
    EXPECT_EQ(1080, scanner.Sequence().height) << "pieces of " << piece;
  }
}

TEST(Mpeg2VideoScanner, FollowsASizeChangeAndIgnoresAZeroSizeHeader) {
  Mpeg2VideoScanner scanner;
  scanner.Feed(Pictures(1920, 1080, true, 2));
  scanner.Feed(Pictures(720, 480, false, 2));
  EXPECT_EQ(720, scanner.Sequence().width);
  EXPECT_EQ(2, scanner.SequenceChanges());

  // A damaged header with width and height 0, then a picture.
  const std::vector<std::uint8_t> damaged = {0, 0, 1, 0xB3, 0, 0, 0, 0x34, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(1, scanner.Feed(damaged));
  EXPECT_EQ(720, scanner.Sequence().width);
  EXPECT_EQ(480, scanner.Sequence().height);
}

TEST(Mpeg2VideoScanner, GivesTheDisplayShapeOfEachChannelsPictures) {
  // A channel change from 1080 lines (16:9) to 720 (16:9) to 480 (4:3):
  // each sequence is one change, read with the shape it states.
  Mpeg2VideoScanner scanner;
  const std::vector<std::pair<Mpeg2Sequence, PictureAspect>> channels = {
      {{1920, 1080, 3, 4}, {16, 9}}, {{1280, 720, 3, 4}, {16, 9}}, {{720, 480, 2, 4}, {4, 3}}};
  int changes = 0;
  for (const auto& [sequence, aspect] : channels) {
    scanner.Feed(Pictures(sequence.width, sequence.height, aspect.x == 16, 3));
    EXPECT_EQ(sequence, scanner.Sequence());
    EXPECT_EQ(aspect, DisplayAspect(scanner.Sequence()));
    EXPECT_EQ(++changes, scanner.SequenceChanges());
  }
  // Square pixels, 2.21:1, and a code no stream should carry.
  EXPECT_EQ((PictureAspect{704, 480}), DisplayAspect({704, 480, 1, 4}));
  EXPECT_EQ((PictureAspect{221, 100}), DisplayAspect({1920, 1080, 4, 4}));
  EXPECT_EQ((PictureAspect{1280, 720}), DisplayAspect({1280, 720, 9, 4}));
}

TEST(Mpeg2VideoScanner, AddsTheSequenceExtensionsSizeBits) {
  // 16 x 16 in the header; extension bits 1 (width) and 2 (height) add
  // 4096 and 8192.
  const std::vector<std::uint8_t> stream = {
      0, 0, 1, 0xB3, 0x01, 0x00, 0x10, 0x34, 0, 0, 0, 0,
      0, 0, 1, 0xB5, 0x14, 0x42, 0xC0, 0x01, 0, 0,
      0, 0, 1, 0x00, 0, 0};
  Mpeg2VideoScanner scanner;
  EXPECT_EQ(1, scanner.Feed(stream));
  EXPECT_EQ(16 + 4096, scanner.Sequence().width);
  EXPECT_EQ(16 + 8192, scanner.Sequence().height);
}

TEST(Mpeg2VideoScanner, NothingKnownFromNoiseOrAnEmptyFeed) {
  Mpeg2VideoScanner scanner;
  EXPECT_EQ(0, scanner.Feed({}));
  const std::vector<std::uint8_t> noise(1000, 0xFF);
  EXPECT_EQ(0, scanner.Feed(noise));
  EXPECT_FALSE(scanner.HasSequence());
}

}  // namespace
