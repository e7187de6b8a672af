#pragma once
// The speaker line's master volume through the waveform mixer, as the raw
// level of its volume control (0 to 65535).

#include <optional>

class SpeakerVolume {
 public:
  static std::optional<float> Read();
  static bool Set(float level);
};
