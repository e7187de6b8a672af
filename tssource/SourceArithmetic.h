#pragma once
// Byte-count arithmetic of the transport-stream push source. The source does
// not parse the stream: it assumes 2.3 MiB per second and reads the file in
// fixed 51200-byte blocks, so duration, seek targets and the reported position
// all follow from byte counts. Times are in 100 ns units.

#include <cstddef>
#include <cstdint>

namespace tssource {

// 100 sectors of 512 bytes: every read and every seek target stays a
// multiple of the sector size, as unbuffered reads require.
constexpr std::uint32_t kBlockSize = 51200;
constexpr std::uint32_t kSectorSize = 512;
constexpr double kMiBPerSecond = 2.3;
constexpr std::uint64_t kMiB = 1048576;
constexpr double kUnitsPerSecond = 10000000.0;

// File size / 2.3 MiB per second, truncated.
std::int64_t DurationForFileSize(std::uint64_t fileSize);

// The block a seek to `start` begins with: whole seconds (a negative start
// counts as 0) times 47.104 blocks per second, truncated.
std::uint64_t BlockIndexForStart(std::int64_t start);

// Byte offset of a block in the file.
std::uint64_t FileOffsetForBlock(std::uint64_t blockIndex);

// The position reported for a block: its offset in whole MiB / 2.3 MiB per
// second, truncated; so positions move in steps of one MiB.
std::int64_t PositionForBlock(std::uint64_t blockIndex);

// Puts one block into a sample buffer: the first `bytesRead` bytes of
// `staging` (never more than the staging block or the sample holds), then
// zeros to the end of the sample. Returns the number of file bytes copied.
std::size_t FillSampleFromBlock(std::uint8_t* sample, std::size_t sampleSize,
                                const std::uint8_t* staging, std::size_t stagingSize,
                                std::size_t bytesRead);

// The same for a block read straight into the sample: keeps the first
// `bytesRead` bytes (at most a block, at most the sample) and zeros the rest.
std::size_t PadSampleAfterRead(std::uint8_t* sample, std::size_t sampleSize,
                               std::size_t bytesRead);

}  // namespace tssource
