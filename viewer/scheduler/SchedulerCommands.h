#pragma once
// The scheduler's three commands to the viewer ("TELVANTISSCHED CHANGE
// CHANNEL", "... START RECORD", "... TIMESHIFT"): registered at start, read
// here, carried out by the panel through SchedulerCommandTarget.

#include <windows.h>

#include <optional>

#include "core/protocol/HandOffFiles.h"
#include "core/time/CivilTime.h"

class ViewerSession;

// What the panel does for the scheduler.
class SchedulerCommandTarget {
 public:
  virtual ~SchedulerCommandTarget() = default;
  // The stop command: timeshift off, or the running recording stopped.
  virtual void StopWhatRuns() = 0;
  // Makes the channel current and tunes it, shows it on the channel label and
  // restarts the signal read-out. No per-channel volume or aspect, no caption.
  virtual void TuneScheduledChannel(int index) = 0;
  // A recording until the event's end, with its when-done action.
  virtual void StartScheduledRecording(const RecLiveHandOff& event) = 0;
  // The pause command: timeshift on and paused, or paused when playing.
  virtual void PauseForTimeshift() = 0;
};

class SchedulerCommands {
 public:
  // Registers the three message names.
  SchedulerCommands();

  // Carries out `message` when it is one of the three; false otherwise.
  bool Handle(UINT message, const ViewerSession& session, SchedulerCommandTarget& target) const;

  // The channel a CHANGE CHANNEL is about: that of the event the scheduler is
  // working on (not blindly the file's first one, which may be an event the
  // scheduler passed over), found in the channel list; nothing when
  // schedule.txt is missing or no channel matches.
  static std::optional<int> ChannelToTune(const ViewerSession& session, const CivilTime& now);

 private:
  UINT changeChannel = 0;
  UINT startRecord = 0;
  UINT timeshift = 0;
};
