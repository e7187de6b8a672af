#include "core/files/ChannelEntry.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "core/files/TextFiles.h"

std::string ChannelCaption(const ChannelEntry& channel) {
  return channel.name + " " + std::to_string(channel.major) + "-" +
         std::to_string(DisplayedMinor(channel.minor));
}

std::string SchedulerChannelCaption(const ChannelEntry& channel) {
  return channel.name + "  " + std::to_string(channel.major) + "-" +
         std::to_string(DisplayedMinor(channel.minor));
}

std::string StorableChannelName(std::string_view name) {
  std::string stored;
  bool pendingSeparator = false;
  for (const char c : name) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      pendingSeparator = !stored.empty();
      continue;
    }
    if (pendingSeparator) stored += '_';
    pendingSeparator = false;
    stored += c;
  }
  if (stored.empty()) stored = "-";
  if (stored.size() > kMaxChannelNameLength) stored.resize(kMaxChannelNameLength);
  return stored;
}

std::optional<std::vector<ChannelEntry>> ReadChannelFile(const std::filesystem::path& file) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  std::vector<ChannelEntry> channels;
  int count = 0;
  if (!(in >> count)) return channels;
  while (static_cast<int>(channels.size()) < count &&
         static_cast<int>(channels.size()) < kMaxChannels) {
    ChannelEntry entry;
    if (!(in >> entry.name >> entry.physical >> entry.major >> entry.minor)) break;
    if (entry.name.size() > kMaxChannelNameLength) entry.name.resize(kMaxChannelNameLength);
    channels.push_back(std::move(entry));
  }
  return channels;
}

bool WriteChannelFile(const std::filesystem::path& file, const std::vector<ChannelEntry>& channels) {
  if (channels.empty()) return RemoveFileIfPresent(file);
  const std::size_t count = std::min<std::size_t>(channels.size(), kMaxChannels);
  std::string text = std::to_string(count) + "\n";
  for (std::size_t i = 0; i < count; ++i) {
    const ChannelEntry& c = channels[i];
    text += StorableChannelName(c.name) + " " + std::to_string(c.physical) + " " +
            std::to_string(c.major) + " " + std::to_string(c.minor) + "\n";
  }
  return WriteFileAtomically(file, text);
}
