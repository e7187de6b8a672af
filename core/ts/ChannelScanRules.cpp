#include "core/ts/ChannelScanRules.h"

#include <algorithm>

namespace {

bool IsBlankOrControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u <= 0x20 || u == 0x7F;
}

bool IsOfferedService(const VirtualChannel& channel) {
  return channel.serviceType == kServiceTypeDigitalTelevision && !channel.hidden &&
         channel.major >= kMinScannedMajor && channel.major <= kMaxScannedMajor &&
         channel.minor >= 0 && channel.minor <= kMaxScannedMinor;
}

bool HoldsChannel(const std::vector<ChannelEntry>& entries, const ChannelEntry& wanted) {
  return std::any_of(entries.begin(), entries.end(), [&](const ChannelEntry& entry) {
    return entry.physical == wanted.physical && entry.major == wanted.major &&
           DisplayedMinor(entry.minor) == DisplayedMinor(wanted.minor);
  });
}

}  // namespace

std::string ScannedChannelName(const VirtualChannel& channel) {
  std::string name = channel.shortName;
  std::replace_if(name.begin(), name.end(), IsBlankOrControl, ' ');
  if (std::all_of(name.begin(), name.end(), [](char c) { return c == ' '; })) {
    return "CH" + std::to_string(channel.major);
  }
  return StorableChannelName(name);
}

std::vector<ChannelEntry> OfferedChannels(const Tvct& tvct, int physical,
                                          const std::vector<ChannelEntry>& list) {
  std::vector<ChannelEntry> offered;
  for (const VirtualChannel& channel : tvct.channels) {
    if (!IsOfferedService(channel)) continue;
    ChannelEntry entry{ScannedChannelName(channel), physical, channel.major, channel.minor};
    if (HoldsChannel(list, entry) || HoldsChannel(offered, entry)) continue;
    offered.push_back(std::move(entry));
  }
  return offered;
}
