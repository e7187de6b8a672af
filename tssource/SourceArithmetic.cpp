#include "tssource/SourceArithmetic.h"

#include <algorithm>
#include <cstring>

namespace tssource {

std::int64_t DurationForFileSize(std::uint64_t fileSize) {
  const double mebibytes = static_cast<double>(fileSize) / 1024.0 / 1024.0;
  return static_cast<std::int64_t>(mebibytes / kMiBPerSecond * kUnitsPerSecond);
}

std::uint64_t BlockIndexForStart(std::int64_t start) {
  if (start < 0) return 0;
  const std::int64_t seconds = start / static_cast<std::int64_t>(kUnitsPerSecond);
  return static_cast<std::uint64_t>(static_cast<double>(seconds) * kMiBPerSecond *
                                    static_cast<double>(kMiB) / kBlockSize);
}

std::uint64_t FileOffsetForBlock(std::uint64_t blockIndex) { return blockIndex * kBlockSize; }

std::int64_t PositionForBlock(std::uint64_t blockIndex) {
  const std::uint64_t wholeMiB = blockIndex * kBlockSize / kMiB;
  return static_cast<std::int64_t>(static_cast<double>(wholeMiB) / kMiBPerSecond *
                                   kUnitsPerSecond);
}

std::size_t FillSampleFromBlock(std::uint8_t* sample, std::size_t sampleSize,
                                const std::uint8_t* staging, std::size_t stagingSize,
                                std::size_t bytesRead) {
  const std::size_t copied = std::min({bytesRead, stagingSize, sampleSize});
  if (copied > 0) std::memcpy(sample, staging, copied);
  std::memset(sample + copied, 0, sampleSize - copied);
  return copied;
}

std::size_t PadSampleAfterRead(std::uint8_t* sample, std::size_t sampleSize,
                               std::size_t bytesRead) {
  const std::size_t kept = std::min({bytesRead, static_cast<std::size_t>(kBlockSize), sampleSize});
  std::memset(sample + kept, 0, sampleSize - kept);
  return kept;
}

}  // namespace tssource
