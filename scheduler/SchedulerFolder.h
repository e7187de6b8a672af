#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/schedule/ScheduleList.h"

// The file side of the scheduler's actions, on the common working folder:
// the Win32 shell and the tests forward their file actions here.
class SchedulerFolder {
 public:
  explicit SchedulerFolder(std::filesystem::path folder) : folder(std::move(folder)) {}

  const std::filesystem::path& Path() const { return folder; }

  bool WriteHandOffFile(const std::filesystem::path& name, const std::string& content) const;
  bool AppendLog(const std::string& entry) const;
  bool AppendDebugLine(const std::string& line) const;
  // channels.txt, at most kMaxChannels entries; nothing when unreadable.
  std::optional<std::vector<ChannelEntry>> ReadChannels() const;
  bool RewriteViewerChannel(int channelIndex) const;
  bool SaveSchedule(const ScheduleList& list) const;

 private:
  std::filesystem::path folder;
};
