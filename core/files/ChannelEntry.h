#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One channel of channels.txt: a station label without white space and the
// physical (RF), major and minor channel numbers. A minor number below 0
// means "no minor number" and is shown as 1.
struct ChannelEntry {
  std::string name;
  int physical = 0;
  int major = 0;
  int minor = 0;

  friend bool operator==(const ChannelEntry&, const ChannelEntry&) = default;
};

inline constexpr int kMaxChannels = 100;
inline constexpr std::size_t kMaxChannelNameLength = 99;

// The minor number as captions and file names show it.
inline int DisplayedMinor(int minor) { return minor < 0 ? 1 : minor; }

// Caption of the viewer: "name major-minor".
std::string ChannelCaption(const ChannelEntry& channel);

// Caption of the scheduler lists: "name  major-minor" (two blanks).
std::string SchedulerChannelCaption(const ChannelEntry& channel);

// A name that readers take back whole: runs of white space become one "_",
// an empty name becomes "-", and it is cut to kMaxChannelNameLength.
std::string StorableChannelName(std::string_view name);

// Reads channels.txt: a count, then per channel a name and three numbers,
// all separated by any white space. Nothing when the file cannot be opened.
// A damaged file gives the channels that could be read: at most kMaxChannels,
// never more than the count, and reading stops at the first incomplete or
// non-numeric record.
std::optional<std::vector<ChannelEntry>> ReadChannelFile(const std::filesystem::path& file);

// Writes channels.txt ("N\n" then "name physical major minor\n" per channel,
// names made storable, at most kMaxChannels). An empty list deletes the file,
// so that the next start of the viewer is a first run.
bool WriteChannelFile(const std::filesystem::path& file, const std::vector<ChannelEntry>& channels);
