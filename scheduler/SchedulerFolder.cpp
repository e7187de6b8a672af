#include "scheduler/SchedulerFolder.h"

#include "core/files/FileNames.h"
#include "core/protocol/EventLog.h"
#include "core/schedule/ScheduleFile.h"
#include "core/files/TextFiles.h"
#include "core/files/ViewerConfig.h"

bool SchedulerFolder::WriteHandOffFile(const std::filesystem::path& name,
                                       const std::string& content) const {
  return WriteFileAtomically(folder / name, content);
}

bool SchedulerFolder::AppendLog(const std::string& entry) const {
  return EventLog::Append(folder / FileNames::kEventLog, entry);
}

bool SchedulerFolder::AppendDebugLine(const std::string& line) const {
  return EventLog::AppendIfPresent(folder / FileNames::kSchedulerDebugLog, line);
}

std::optional<std::vector<ChannelEntry>> SchedulerFolder::ReadChannels() const {
  return ReadChannelFile(folder / FileNames::kChannels);
}

bool SchedulerFolder::RewriteViewerChannel(int channelIndex) const {
  return RewriteCurrentChannel(folder / FileNames::kConfig, channelIndex);
}

bool SchedulerFolder::SaveSchedule(const ScheduleList& list) const {
  return ScheduleFile::Write(folder / FileNames::kSchedule, list.Events());
}
