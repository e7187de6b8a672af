#include "standin/streambuffer/BackingRing.h"

#include <gtest/gtest.h>

#include "standin/streambuffer/RecordingFormat.h"

namespace streambuffer {
namespace {

constexpr std::uint64_t kSecond = kPtsPerSecond;

// Feeds `seconds` of pictures, 30 a second, a sequence every half second,
// rotating and trimming as the sink does; returns the files deleted.
std::vector<std::uint64_t> Feed(BackingRing& ring, std::uint64_t& pts, int seconds,
                                std::optional<std::uint64_t> reader = std::nullopt) {
  std::vector<std::uint64_t> gone;
  for (int i = 0; i < seconds * 30; ++i, pts += kSecond / 30) {
    const bool randomAccess = (pts / (kSecond / 30)) % 15 == 0;
    if (ring.NeedsNewFile(pts, randomAccess)) {
      ring.BeginFile(pts);
      for (auto number : ring.Trim(reader)) gone.push_back(number);
    }
    ring.Extend(pts);
  }
  return gone;
}

TEST(BackingRingTest, FilesBeginAtSequencesAndTheOldestGoAsTheRingMovesOn) {
  BackingRing ring({2, 3, 15});
  std::uint64_t pts = 10 * kSecond;
  EXPECT_TRUE(ring.NeedsNewFile(pts, false));  // the very first unit
  EXPECT_FALSE(ring.Earliest());

  auto gone = Feed(ring, pts, 29);
  EXPECT_TRUE(gone.empty());
  ASSERT_EQ(ring.Files().size(), 2u);
  EXPECT_EQ(ring.Files()[1].firstPts, 25 * kSecond);  // 15 s on, at a sequence
  EXPECT_EQ(ring.Earliest(), 10 * kSecond);

  gone = Feed(ring, pts, 31);  // 60 s in all: four files begun, two kept
  EXPECT_EQ(gone, (std::vector<std::uint64_t>{0, 1}));
  ASSERT_EQ(ring.Files().size(), 2u);
  EXPECT_EQ(ring.Earliest(), 40 * kSecond);
  EXPECT_EQ(*ring.Latest(), pts - kSecond / 30);

  // Lookups by time: before the start gives the first file, inside a file
  // that file, past the end the newest.
  EXPECT_EQ(ring.FindFile(0)->number, 2u);
  EXPECT_EQ(ring.FindFile(54 * kSecond)->number, 2u);
  EXPECT_EQ(ring.FindFile(55 * kSecond)->number, 3u);
  EXPECT_EQ(ring.FindFile(1000 * kSecond)->number, 3u);
  EXPECT_EQ(ring.NextFile(2)->number, 3u);
  EXPECT_FALSE(ring.NextFile(3));
}

TEST(BackingRingTest, AReaderKeepsItsFileAndPastTheMaximumTheNextFileGoes) {
  BackingRing ring({2, 3, 15});
  std::uint64_t pts = 0;
  // A reader still in file 0 keeps it while there are at most three files.
  auto gone = Feed(ring, pts, 31, 5 * kSecond);  // files 0, 1, 2
  EXPECT_TRUE(gone.empty());
  EXPECT_EQ(ring.Files().size(), 3u);
  // A fourth file, over the maximum: the reader's file stays and the one
  // after it goes, leaving a hole from 15 s to 30 s; then the next one.
  gone = Feed(ring, pts, 30, 5 * kSecond);
  EXPECT_EQ(gone, (std::vector<std::uint64_t>{1, 2}));
  ASSERT_EQ(ring.Files().size(), 3u);
  EXPECT_EQ(ring.Files()[0].number, 0u);
  EXPECT_EQ(ring.NextFile(0)->number, 3u);
  EXPECT_EQ(ring.NextFile(0)->firstPts, 45 * kSecond);
  EXPECT_EQ(ring.FindFile(20 * kSecond)->number, 0u);  // inside the hole: the file before it
  // The reader past the hole: the oldest goes as usual, down to the minimum.
  gone = Feed(ring, pts, 15, 50 * kSecond);
  EXPECT_EQ(gone, (std::vector<std::uint64_t>{0}));
  gone = Feed(ring, pts, 15);
  EXPECT_EQ(gone, (std::vector<std::uint64_t>{3, 4}));
  EXPECT_EQ(ring.Files().size(), 2u);
}

TEST(BackingRingTest, WithTwoFilesAtMostEachNewFileWidensTheHole) {
  BackingRing ring({2, 2, 15});
  std::uint64_t pts = 0;
  auto gone = Feed(ring, pts, 31, 5 * kSecond);  // files 0, 1, 2: over the maximum
  EXPECT_EQ(gone, (std::vector<std::uint64_t>{1}));
  gone = Feed(ring, pts, 15, 5 * kSecond);
  EXPECT_EQ(gone, (std::vector<std::uint64_t>{2}));
  ASSERT_EQ(ring.Files().size(), 2u);
  EXPECT_EQ(ring.Files()[0].number, 0u);
  EXPECT_EQ(ring.Files()[1].number, 3u);
}

}  // namespace
}  // namespace streambuffer
