#pragma once
// Counts whole AC-3 sync frames in a byte stream cut anywhere, so the test
// audio decoder can put out 1536 samples of silence for each. Bytes between
// frames that are no frame (damage, padding) are skipped and counted.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class Ac3FrameCounter {
 public:
  static constexpr int kSamplesPerFrame = 1536;

  // Takes the next bytes; returns how many frames they completed.
  int Feed(std::span<const std::uint8_t> data);
  void Reset();

  // The sample rate of the last frame (48000, 44100 or 32000; 0 before one).
  int SampleRate() const { return sampleRate_; }
  std::uint64_t SkippedBytes() const { return skipped_; }

  // The size in bytes of a frame with these header fields, or 0 when they are
  // not valid.
  static std::size_t FrameBytes(int sampleRateCode, int frameSizeCode);

 private:
  std::vector<std::uint8_t> pending_;
  int sampleRate_ = 0;
  std::uint64_t skipped_ = 0;
};
