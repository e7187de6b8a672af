#pragma once

#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/ts/VirtualChannelTable.h"

// Which channels of a station's virtual channel table an automatic scan
// offers for the channel list, and under what name.

inline constexpr int kMinScannedMajor = 1;
inline constexpr int kMaxScannedMajor = 9999;
inline constexpr int kMaxScannedMinor = 999;

// The channel-list name of a scanned channel: its short name as one word
// (control characters count as blanks, blanks become "_"), or "CH" and the
// major number when the short name has nothing else.
std::string ScannedChannelName(const VirtualChannel& channel);

// The channels of `tvct`, scanned on RF channel `physical`, to offer as new
// entries of `list`, in the table's order: digital television services
// that are not hidden, with a major number of 1 to 9999 and a minor number
// of 0 to 999, each once, leaving out those `list` holds already on the same
// RF channel with the same numbers (a list entry without a minor number
// counts as minor 1, as it is shown and tuned).
std::vector<ChannelEntry> OfferedChannels(const Tvct& tvct, int physical,
                                          const std::vector<ChannelEntry>& list);
