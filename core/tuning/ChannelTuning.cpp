#include "core/tuning/ChannelTuning.h"

int RequestedMajorChannel(int major, int minor) { return minor < 2 ? -1 : major; }

TuneValues ChannelTuneValues(const std::vector<ChannelEntry>& channels, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= channels.size()) return {};
  const ChannelEntry& entry = channels[static_cast<std::size_t>(index)];
  return {entry.physical, entry.major, entry.minor};
}
