#include "tssource/SourceArithmetic.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tssource;

TEST(SourceArithmeticTest, DurationFollowsTheAssumedRate) {
  EXPECT_EQ(DurationForFileSize(230 * kMiB), 1000000000);  // 100 s
  EXPECT_EQ(DurationForFileSize(2411725), 10000000);        // 2.3 MiB: 1 s
  EXPECT_EQ(DurationForFileSize(0), 0);
  // Far beyond 4 GiB the 64-bit size still counts.
  EXPECT_EQ(DurationForFileSize(2300 * kMiB * 10), 100000000000);
}

TEST(SourceArithmeticTest, SeekUsesWholeSecondsAndSnapsToWholeMiB) {
  const std::uint64_t block = BlockIndexForStart(109000000);  // 10.9 s
  EXPECT_EQ(block, 471u);
  EXPECT_EQ(FileOffsetForBlock(block), 24115200u);
  EXPECT_EQ(PositionForBlock(block), 95652173);
  EXPECT_EQ(FileOffsetForBlock(block) % kSectorSize, 0u);
}

TEST(SourceArithmeticTest, SeekToStartAndBeforeIt) {
  EXPECT_EQ(BlockIndexForStart(0), 0u);
  EXPECT_EQ(BlockIndexForStart(9999999), 0u);
  EXPECT_EQ(BlockIndexForStart(-50000000), 0u);
  EXPECT_EQ(PositionForBlock(0), 0);
  EXPECT_EQ(BlockIndexForStart(10000000), 47u);  // 47.104 blocks per second
}

TEST(SourceArithmeticTest, PositionMovesInWholeMiBSteps) {
  // 20 blocks are 1000 KiB: still inside the first MiB.
  EXPECT_EQ(PositionForBlock(20), 0);
  // 21 blocks pass 1 MiB: 1 / 2.3 s.
  EXPECT_EQ(PositionForBlock(21), 4347826);
  EXPECT_EQ(PositionForBlock(40), 4347826);
  EXPECT_EQ(PositionForBlock(41), 8695652);
}

// A file of 3 blocks + 100 bytes read block by block: three full blocks, one
// block of 100 file bytes and 51100 zeros, then only zeros.
TEST(SourceArithmeticTest, EndOfFileIsPaddedWithZeros) {
  std::vector<std::uint8_t> file(kBlockSize * 3 + 100);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i % 251 + 1);

  std::vector<std::uint8_t> staging(kBlockSize);
  std::vector<std::uint8_t> sample(kBlockSize, 0xEE);
  std::size_t offset = 0;
  for (int block = 0; block < 5; ++block) {
    const std::size_t read = std::min<std::size_t>(kBlockSize, file.size() - offset);
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), read, staging.begin());
    offset += read;
    std::fill(sample.begin(), sample.end(), 0xEE);
    const std::size_t copied =
        FillSampleFromBlock(sample.data(), sample.size(), staging.data(), staging.size(), read);
    const std::size_t expected = block < 3 ? kBlockSize : block == 3 ? 100 : 0;
    ASSERT_EQ(copied, expected) << "block " << block;
    for (std::size_t i = 0; i < kBlockSize; ++i) {
      const std::uint8_t want = i < expected ? file[block * kBlockSize + i] : 0;
      ASSERT_EQ(sample[i], want) << "block " << block << " byte " << i;
    }
  }
}

// A read that claims more than the staging block, or a sample larger or
// smaller than a block: nothing is read or written out of bounds, and the
// rest of the sample is zero.
TEST(SourceArithmeticTest, FillStaysInsideBothBuffers) {
  std::vector<std::uint8_t> staging(kBlockSize, 0x47);
  std::vector<std::uint8_t> big(kBlockSize + 4096 + 16, 0xEE);
  EXPECT_EQ(FillSampleFromBlock(big.data(), kBlockSize + 4096, staging.data(), staging.size(),
                                kBlockSize * 2),
            kBlockSize);
  EXPECT_EQ(big[kBlockSize - 1], 0x47);
  EXPECT_EQ(big[kBlockSize], 0);
  EXPECT_EQ(big[kBlockSize + 4095], 0);
  EXPECT_EQ(big[kBlockSize + 4096], 0xEE);  // past the sample: untouched

  std::vector<std::uint8_t> small(1000 + 16, 0xEE);
  EXPECT_EQ(FillSampleFromBlock(small.data(), 1000, staging.data(), staging.size(), kBlockSize),
            1000u);
  EXPECT_EQ(small[999], 0x47);
  EXPECT_EQ(small[1000], 0xEE);
}

TEST(SourceArithmeticTest, ReadStraightIntoTheSampleIsPaddedTheSameWay) {
  std::vector<std::uint8_t> sample(kBlockSize + 100, 0x47);
  EXPECT_EQ(PadSampleAfterRead(sample.data(), sample.size(), 100), 100u);
  EXPECT_EQ(sample[99], 0x47);
  EXPECT_EQ(sample[100], 0);
  EXPECT_EQ(sample.back(), 0);

  std::fill(sample.begin(), sample.end(), 0x47);
  // A claimed count beyond the block (a misbehaving read) keeps one block.
  EXPECT_EQ(PadSampleAfterRead(sample.data(), sample.size(), kBlockSize * 4), kBlockSize);
  EXPECT_EQ(sample[kBlockSize - 1], 0x47);
  EXPECT_EQ(sample[kBlockSize], 0);
}
