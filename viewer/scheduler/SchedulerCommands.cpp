#include "viewer/scheduler/SchedulerCommands.h"

#include "core/files/FileNames.h"
#include "core/protocol/ProgramProtocol.h"
#include "core/schedule/ScheduleFile.h"
#include "viewer/ViewerSession.h"
#include "win/LocalNow.h"

SchedulerCommands::SchedulerCommands()
    : changeChannel(RegisterWindowMessageA(ProgramProtocol::kChangeChannelMessage)),
      startRecord(RegisterWindowMessageA(ProgramProtocol::kStartRecordMessage)),
      timeshift(RegisterWindowMessageA(ProgramProtocol::kTimeshiftMessage)) {}

std::optional<int> SchedulerCommands::ChannelToTune(const ViewerSession& session, const CivilTime& now) {
  const auto schedule = ScheduleFile::Read(FileNames::kSchedule);
  if (!schedule) return std::nullopt;
  const auto event = FindEventToTune(schedule->events, now);
  if (!event) return std::nullopt;
  const ScheduleEvent& due = schedule->events[*event];
  return session.FindByTuning(due.channel1, due.channel2, due.channel3);
}

bool SchedulerCommands::Handle(UINT message, const ViewerSession& session,
                               SchedulerCommandTarget& target) const {
  if (message == 0) return false;
  if (message == changeChannel) {
    target.StopWhatRuns();
    if (const auto index = ChannelToTune(session, LocalNow())) target.TuneScheduledChannel(*index);
    return true;
  }
  if (message == startRecord) {
    // The file is deleted once read, damaged or not; without its data there
    // is no end time to record to.
    const auto handOff = HandOffFiles::TakeRecLive(FileNames::kRecLive);
    if (handOff.data) target.StartScheduledRecording(*handOff.data);
    return true;
  }
  if (message == timeshift) {
    target.PauseForTimeshift();
    return true;
  }
  return false;
}
