#include "viewer/setup/ChannelListEdit.h"

#include <algorithm>

namespace {

constexpr int kNoMinor = -1;

}  // namespace

int StepSubChannel(int position, int delta) {
  int next = position + delta;
  if (next == 0) next = delta < 0 ? -1 : 1;
  return std::clamp(next, kSubChannelSpin.lowest, kSubChannelSpin.highest);
}

std::string SuggestedChannelName(int major) { return "CH" + std::to_string(major); }

std::string ChannelCellText(const ChannelEntry& channel) {
  const std::string minor = std::to_string(channel.minor);
  return std::to_string(channel.major) + "-" + (channel.minor == kNoMinor ? "(" + minor + ")" : minor);
}

std::string RfCellText(const ChannelEntry& channel) { return std::to_string(channel.physical); }

std::string ChannelHintText(int major, int minor, int physical) {
  return ChannelCellText(ChannelEntry{"", physical, major, minor}) + " / " + std::to_string(physical);
}

std::string UpdateHintText(const ChannelEntry& channel) {
  return ChannelHintText(channel.major, channel.minor, channel.physical) + " --->";
}

std::optional<int> ChannelListEdit::Add(ChannelEntry entry) {
  if (IsFull()) return std::nullopt;
  entry.name = StorableChannelName(entry.name);
  const auto place = std::find_if(channels.begin(), channels.end(), [&](const ChannelEntry& c) {
    return c.major > entry.major || (c.major == entry.major && c.minor > entry.minor);
  });
  const auto index = static_cast<int>(place - channels.begin());
  channels.insert(place, std::move(entry));
  return index;
}

bool ChannelListEdit::Remove(int index) {
  if (index < 0 || index >= static_cast<int>(channels.size())) return false;
  channels.erase(channels.begin() + index);
  return true;
}

std::optional<int> ChannelListEdit::Update(int index, ChannelEntry entry) {
  if (!Remove(index)) return std::nullopt;
  // The row just made room, so the list is not full.
  return Add(std::move(entry));
}

int FindCurrentAfterEdit(const std::vector<ChannelEntry>& channels, const TuneValues& lastTuned) {
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const ChannelEntry& c = channels[i];
    if (c.physical == lastTuned.physical && c.major == lastTuned.major &&
        c.minor == lastTuned.minor) {
      return static_cast<int>(i);
    }
  }
  for (std::size_t i = 0; i < channels.size(); ++i) {
    if (channels[i].major > lastTuned.major) return static_cast<int>(i) - 1;
  }
  return -1;
}
