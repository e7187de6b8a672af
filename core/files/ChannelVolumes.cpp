#include "core/files/ChannelVolumes.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>

#include "core/files/TextFiles.h"

namespace {

int ClampCount(int channelCount) { return std::clamp(channelCount, 0, kMaxChannels); }

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
  for (int i = 0; i < count; ++i) {
    float value = 0;
    if (!(in >> value)) break;
    volumes[static_cast<std::size_t>(i)] = value;
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
