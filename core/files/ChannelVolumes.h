#pragma once

#include <array>
#include <filesystem>

#include "core/files/ChannelEntry.h"

// Per-channel volumes of chvols.txt: the speaker line's mixer level (0 to
// 65535) per channel, in channel order; -1 means no volume is stored.
inline constexpr float kNoChannelVolume = -1.0f;

using ChannelVolumes = std::array<float, kMaxChannels>;

// All kMaxChannels entries at -1.
ChannelVolumes NoChannelVolumes();

// Reads the volumes of the first `channelCount` channels, one entry per
// channel. Entries the file does not hold (a missing or short file) keep -1;
// an entry that is not a number, or a level outside 0 to 65535, reads as -1
// (not set) and the entries after it are still read. Returns false when the
// file cannot be opened.
bool ReadChannelVolumes(const std::filesystem::path& file, int channelCount,
                        ChannelVolumes& volumes);

// Writes the first `channelCount` volumes, one per line, each in the shortest
// decimal form that reads back as the same float.
bool WriteChannelVolumes(const std::filesystem::path& file, int channelCount,
                         const ChannelVolumes& volumes);
