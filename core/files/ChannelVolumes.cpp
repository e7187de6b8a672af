#include "core/files/ChannelVolumes.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>
#include <system_error>

#include "core/files/TextFiles.h"

namespace {

int ClampCount(int channelCount) { return std::clamp(channelCount, 0, kMaxChannels); }

constexpr float kHighestLevel = 65535.0f;

// One entry of the file: a level the mixer's volume control can take, or
// -1 for "not set". Anything else (text, a level outside 0 to 65535, not a
// number, infinity) is not set either: such a value must never reach the
// mixer, where it would be cast to an unsigned level.
float LevelOf(const std::string& token) {
  float value = 0;
  const char* first = token.data();
  const char* last = first + token.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return kNoChannelVolume;
  if (!(value >= 0.0f && value <= kHighestLevel)) return kNoChannelVolume;
  return value;
}

}  // namespace

ChannelVolumes NoChannelVolumes() {
  ChannelVolumes volumes;
  volumes.fill(kNoChannelVolume);
  return volumes;
}

bool ReadChannelVolumes(const std::filesystem::path& file, int channelCount,
                        ChannelVolumes& volumes) {
  std::ifstream in(file);
  if (!in) return false;
  const int count = ClampCount(channelCount);
  std::string token;
  for (int i = 0; i < count && in >> token; ++i) {
    volumes[static_cast<std::size_t>(i)] = LevelOf(token);
  }
  return true;
}

bool WriteChannelVolumes(const std::filesystem::path& file, int channelCount,
                         const ChannelVolumes& volumes) {
  std::string text;
  const int count = ClampCount(channelCount);
  for (int i = 0; i < count; ++i) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, volumes[static_cast<std::size_t>(i)]);
    text.append(buffer, result.ptr);
    text += '\n';
  }
  return WriteFileAtomically(file, text);
}
