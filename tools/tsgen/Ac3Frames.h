#pragma once

#include <cstdint>
#include <vector>

// AC-3 sync frames for test streams: 48 kHz, stereo, 192 kbit/s, 1536
// samples (32 ms) per frame, decoding to silence.
class Ac3Frames {
 public:
  static constexpr std::size_t kFrameBytes = 768;
  static constexpr std::uint64_t kFrameDuration90k = 2880;  // 32 ms in 90 kHz ticks

  std::vector<std::uint8_t> Frame() const;
};
