#include "recorder/RecorderSession.h"

#include "core/protocol/EventLog.h"
#include "core/time/TimeTexts.h"

void RecorderSession::BeginScheduled(bool shutdown) {
  scheduled = true;
  shutdownWhenDone = shutdown;
}

std::optional<std::string> RecorderSession::RefuseStart(HoursMinutes spins) const {
  if (!scheduled && spins.hours == 0 && spins.minutes == 0) return std::string(kNoDuration);
  return std::nullopt;
}

bool RecorderSession::Shows(const std::string& message) const {
  return !scheduled || ShownWhenScheduled(variant, message);
}

std::string RecorderSession::Started(const CivilTime& now, const RecordingClock& recordingClock) {
  clock = recordingClock;
  elapsed = ElapsedTime{};
  recording = true;
  return EventLog::SilentRecordStarted(now);
}

ProgramProtocol::RecorderReport RecorderSession::StartReport() const {
  return scheduled ? ProgramProtocol::RecorderReport::StartedForEvent
                   : ProgramProtocol::RecorderReport::StartedByUser;
}

RecorderSession::Tick RecorderSession::OnTimer(const CivilTime& now) {
  Tick tick;
  if (!recording || !clock) return tick;
  elapsed.Tick();
  tick.elapsedText = elapsed.Text();
  tick.percent = elapsed.Percent(clock->PlannedSeconds());
  tick.hide = elapsed.HideNow();
  tick.stop = clock->ReachedStop(now);
  return tick;
}

RecorderSession::StopEffects RecorderSession::Stop(StopReason reason, const CivilTime& now) {
  StopEffects effects;
  // A full disk or a graph that stopped itself ends the recording as its end
  // of time would, and says why.
  const bool endedByTime = reason == StopReason::EndOfTime ||
                           reason == StopReason::WriteFailure || reason == StopReason::Aborted;
  if (reason == StopReason::WriteFailure) {
    effects.log += "RECORDING FILE WRITE FAILED: " + LogTimeStamp(now) + "\n";
  } else if (reason == StopReason::Aborted) {
    effects.log += "RECORDING ABORTED BY THE GRAPH: " + LogTimeStamp(now) + "\n";
  }
  if (scheduled) {
    effects.log += EventLog::SilentRecordStopped(now);
    effects.postShutdown = shutdownWhenDone && endedByTime;
  }
  recording = false;
  scheduled = false;
  return effects;
}
