#include "scheduler/SchedulerEngine.h"

#include <algorithm>

#include "core/files/FileNames.h"
#include "core/protocol/EventLog.h"
#include "scheduler/EventMoments.h"
#include "core/protocol/HandOffFiles.h"
#include "core/time/TimeTexts.h"

using ProgramProtocol::RecorderReport;

namespace {

constexpr long long kWakeUpLeadSeconds = 5 * 60;

}  // namespace

SchedulerEngine::Settings SchedulerEngine::Settings::For(const TuningModel& model,
                                                         SchedulerVariant variant,
                                                         int delaySeconds) {
  Settings settings;
  settings.names = SchedulerVariantNames::For(variant);
  settings.viewerTitle = WindowTitle(model, ProgramWindow::ViewerPanel);
  settings.recorderTitle = WindowTitle(model, settings.names.recorderWindow);
  settings.delaySeconds = std::clamp(delaySeconds, 0, HandOffFiles::kMaxDelaySeconds);
  return settings;
}

SchedulerEngine::SchedulerEngine(ScheduleList& list, std::vector<ChannelEntry> channels,
                                 Settings settings, SchedulerActions& actions)
    : list(list), channels(std::move(channels)), settings(std::move(settings)), actions(actions) {}

void SchedulerEngine::SetDelay(int seconds) {
  settings.delaySeconds = std::clamp(seconds, 0, HandOffFiles::kMaxDelaySeconds);
}

void SchedulerEngine::StartTimer(SchedulerTimer timer) {
  timers[static_cast<int>(timer)] = true;
  actions.StartTimer(timer);
}

void SchedulerEngine::StopTimer(SchedulerTimer timer) {
  timers[static_cast<int>(timer)] = false;
  actions.StopTimer(timer);
}

bool SchedulerEngine::IsRunning(SchedulerTimer timer) const { return timers[static_cast<int>(timer)]; }

bool SchedulerEngine::IsPassedOver(const ScheduleEvent& event, const CivilTime& now) const {
  if (std::find(ranButStuck.begin(), ranButStuck.end(), event) != ranButStuck.end()) return true;
  // Logged as missed and kept: when the clock is set back over its time (the
  // hour that repeats when summer time ends) it must not run after all.
  if (std::find(loggedMissed.begin(), loggedMissed.end(), event) != loggedMissed.end()) return true;
  if (progress.waitingForRecorder && progress.event == event) return false;
  return now >= MomentsOf(event).Deadline();
}

bool SchedulerEngine::IsStartSkipped(const ScheduleEvent& event) const {
  return std::any_of(skippedStarts.begin(), skippedStarts.end(),
                     [&](const auto& entry) { return entry.first == event; });
}

EventMoments SchedulerEngine::MomentsOf(const ScheduleEvent& event) const {
  for (const auto& [skipped, start] : skippedStarts)
    if (skipped == event) return EventMoments(event, start);
  return EventMoments(event);
}

void SchedulerEngine::OnLocalClockJump(const CivilTime& before, const CivilTime& after) {
  for (const ScheduleEvent& event : list.Events()) {
    const CivilTime start = EventStart(event);
    if (before < start && start < after && !IsStartSkipped(event)) skippedStarts.emplace_back(event, after);
  }
}

std::optional<std::size_t> SchedulerEngine::DueEvent(const CivilTime& now) const {
  for (std::size_t i = 0; i < list.Count(); ++i) {
    if (!IsPassedOver(list.At(i), now)) return i;
  }
  return std::nullopt;
}

bool SchedulerEngine::IsViewerUp() {
  return actions.IsViewerRunning() && actions.IsWindowOpen(settings.viewerTitle);
}

void SchedulerEngine::Arm(const CivilTime& now) {
  StopTimer(SchedulerTimer::EventClock);
  // Forget stuck events that the user has since edited or removed.
  const auto gone = [&](const ScheduleEvent& e) {
    const auto& events = list.Events();
    return std::find(events.begin(), events.end(), e) == events.end();
  };
  std::erase_if(ranButStuck, gone);
  std::erase_if(loggedMissed, gone);
  std::erase_if(skippedStarts, [&](const auto& entry) { return gone(entry.first); });
  const auto due = DueEvent(now);
  nextEventTime = due ? std::optional<CivilTime>(EventStart(list.At(*due))) : std::nullopt;
  if (list.IsEmpty() && wakeUpArmed) {
    actions.UpdateWakeUpTask(false, lastWakeUp);
    wakeUpArmed = false;
  }
  StopTimer(SchedulerTimer::Alignment);
  alignmentSecond = -1;
  StartTimer(SchedulerTimer::Alignment);
}

void SchedulerEngine::OnAlignmentTick(const CivilTime& now) {
  if (!IsRunning(SchedulerTimer::Alignment)) return;
  if (!windowHidden) {
    actions.HideSchedulerWindow();
    windowHidden = true;
  }
  if (alignmentSecond == -1) {
    alignmentSecond = now.second;
    return;
  }
  if (now.second == alignmentSecond) return;
  alignmentSecond = -1;
  MoveOnPastEvents(now);
  if (const auto due = DueEvent(now)) {
    nextEventTime = EventStart(list.At(*due));
    lastWakeUp = AddSeconds(*nextEventTime, -kWakeUpLeadSeconds);
    actions.UpdateWakeUpTask(true, lastWakeUp);
    wakeUpArmed = true;
    StartTimer(SchedulerTimer::EventClock);
  }
  StopTimer(SchedulerTimer::Alignment);
}

void SchedulerEngine::OnClockTick(const CivilTime& now) {
  if (!IsRunning(SchedulerTimer::EventClock) || list.IsEmpty()) return;
  actions.AppendDebugLine(EventLog::DebugLine(list.Count(), now));
  if (progress.waitingForRecorder) return;
  MoveOnPastEvents(now);
  const auto due = DueEvent(now);
  if (!due) {
    StopTimer(SchedulerTimer::EventClock);  // nothing left to wait for until the list changes
    return;
  }
  const ScheduleEvent event = list.At(*due);
  if (progress.event != event) {
    progress = Progress{};
    progress.event = event;
  }
  nextEventTime = EventStart(event);
  if (progress.done >= EventMoments::kMomentCount) return;
  const EventMoments moments = MomentsOf(event);
  const std::optional<CivilTime> previous = progress.done > 0 ? progress.lastActed : std::nullopt;
  if (now < moments.EarliestAct(progress.done, previous)) return;
  const int moment = progress.done++;
  progress.lastActed = now;
  if (moments.IsSilent()) {
    ActSilent(moment, event, now);
  } else {
    ActLive(moment, event, now);
  }
}

void SchedulerEngine::ActSilent(int moment, const ScheduleEvent& event, const CivilTime& now) {
  switch (moment) {
    case EventMoments::kWarning:
      if (actions.IsViewerRunning()) {
        progress.closePending = true;
        if (actions.IsWindowOpen(settings.viewerTitle)) actions.OpenWarningBox(kSilentViewerWarning);
      }
      if (recorderRecording && !recorderScheduled) {
        actions.OpenWarningBox(kSilentRecorderWarning);
        progress.closePending = true;
      }
      break;
    case EventMoments::kHandOff:
      if (progress.closePending) {
        if (actions.IsWindowOpen(ProgramProtocol::kWarningBoxTitle))
          actions.PostClose(ProgramProtocol::kWarningBoxTitle);
        if (actions.IsViewerRunning()) actions.PostClose(settings.viewerTitle);
        progress.closePending = false;
      }
      actions.WriteHandOffFile(FileNames::kSilentEvent,
                               HandOffFiles::SilentEventText(SilentEventHandOff::From(event)));
      break;
    case EventMoments::kStart:
      if (recorderRecording) {
        actions.PostClose(settings.recorderTitle);
        delayCounter = 0;
        delayTarget = -1;
        progress.waitingForRecorder = true;
        StartTimer(SchedulerTimer::DelayedStart);
      } else {
        StartRecorder();
        EventFinished(true, false, now);
        StopTimer(SchedulerTimer::EventClock);
      }
      break;
  }
}

void SchedulerEngine::ActLive(int moment, const ScheduleEvent& event, const CivilTime& now) {
  switch (moment) {
    case EventMoments::kWarning:
      if (recorderRecording) actions.OpenWarningBox(kLiveRecorderWarning);
      if (IsViewerUp()) {
        actions.AppendLog(EventLog::AlreadyOpen());
        actions.OpenWarningBox(kLiveViewerWarning);
      }
      break;
    case EventMoments::kHandOff:
      if (recorderRecording) {
        // The recorder stops its graph before its window goes, and the tuner
        // cannot serve both: the hand-over waits for the window on timer 5,
        // the window's messages still handled meanwhile.
        actions.PostClose(settings.recorderTitle);
        progress.waitingForRecorder = true;
        progress.waitStarted = now;
        StartTimer(SchedulerTimer::RecorderClose);
      } else {
        HandOffToViewer(event, now);
      }
      break;
    case EventMoments::kStart:
      // The viewer window is looked up again: it may have been started at the hand-off.
      if (event.type == EventType::RecordLive) {
        actions.PostRegisteredMessage(settings.viewerTitle, ProgramProtocol::kStartRecordMessage);
      } else if (event.type == EventType::Timeshift) {
        actions.PostRegisteredMessage(settings.viewerTitle, ProgramProtocol::kTimeshiftMessage);
      }
      actions.AppendLog(EventLog::EventStarted(event.type, now));
      EventFinished(true, false, now);
      break;
  }
}

void SchedulerEngine::OnRecorderCloseTick(const CivilTime& now) {
  if (!IsRunning(SchedulerTimer::RecorderClose)) return;
  const CivilTime waitEnds = AddSeconds(progress.waitStarted, kHandOffWaitSeconds);
  // A clock set back during the wait ends it too.
  const bool waited = !(now < waitEnds) || now < progress.waitStarted;
  if (actions.IsWindowOpen(settings.recorderTitle) && !waited) return;
  StopTimer(SchedulerTimer::RecorderClose);
  progress.waitingForRecorder = false;
  // An event removed or edited during the wait is not handed over.
  if (!progress.event || !list.Find(*progress.event)) {
    progress = Progress{};
    return;
  }
  // The start command counts its time from the hand-over as it happens now,
  // so that a slow recorder does not eat the viewer's start-up time.
  progress.lastActed = now;
  HandOffToViewer(*progress.event, now);
}

void SchedulerEngine::HandOffToViewer(const ScheduleEvent& event, const CivilTime& now) {
  if (actions.IsWindowOpen(ProgramProtocol::kWarningBoxTitle))
    actions.PostClose(ProgramProtocol::kWarningBoxTitle);
  if (IsViewerUp()) {
    actions.PostRegisteredMessage(settings.viewerTitle, ProgramProtocol::kChangeChannelMessage);
  } else {
    if (auto fresh = actions.ReadChannels()) channels = std::move(*fresh);
    // Without a matching channel there is no index to hand over, and an
    // unreadable config.txt is not rewritten: the viewer then comes up on
    // its last channel.
    if (const auto index = FindEventChannel(channels, event))
      actions.RewriteViewerChannel(static_cast<int>(*index));
    const bool started =
        actions.StartProgram(ProgramProtocol::kViewerExe, "", ShowMode::NoActivate);
    actions.AppendLog(started ? EventLog::OpenedViewer(now) : EventLog::CantOpenViewer(now));
  }
  if (event.type == EventType::RecordLive) {
    actions.WriteHandOffFile(FileNames::kRecLive,
                             HandOffFiles::RecLiveText(RecLiveHandOff::From(event)));
  }
}

void SchedulerEngine::MoveOnPastEvents(const CivilTime& now) {
  bool changed = false;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const ScheduleEvent event = list.At(i);
    if (now < MomentsOf(event).Deadline()) continue;
    const bool ran = std::find(ranButStuck.begin(), ranButStuck.end(), event) != ranButStuck.end();
    if (!ran && std::find(loggedMissed.begin(), loggedMissed.end(), event) == loggedMissed.end()) {
      // Skipped by the clock (its start and its end), or passed while no
      // tick came (the machine slept).
      actions.AppendLog(IsStartSkipped(event) ? EventLog::MissedByClockChange(event)
                                              : EventLog::MissedEvent(EventStart(event)));
      loggedMissed.push_back(event);
    }
    const auto result = list.MoveOnFrom(i, now);
    if (result.outcome != ScheduleList::AdvanceResult::Outcome::Moved) continue;
    std::erase(ranButStuck, event);
    std::erase(loggedMissed, event);
    changed = true;
    i = static_cast<std::size_t>(-1);  // the list was re-sorted: look again from the top
  }
  if (changed) actions.ScheduleChanged(list);
}

void SchedulerEngine::StartRecorder() {
  // The result is not acted on: the recorder reports its own start.
  actions.StartProgram(settings.names.recorderExe, ProgramProtocol::kLockSwitch,
                       ShowMode::NoActivate);
}

void SchedulerEngine::OnDelayedStartTick(const CivilTime& now) {
  if (!IsRunning(SchedulerTimer::DelayedStart)) return;
  ++delayCounter;
  if (delayTarget == -1 && !actions.IsWindowOpen(settings.recorderTitle))
    delayTarget = delayCounter + settings.delaySeconds * kDelayTicksPerSecond;
  if (delayTarget == -1 && delayCounter >= kRecorderCloseSeconds * kDelayTicksPerSecond) {
    // The old recorder hangs: this event cannot have the tuner. Log it and go
    // on with the next event rather than wait for ever.
    StopTimer(SchedulerTimer::DelayedStart);
    actions.AppendLog(kRecorderDidNotClose + LogTimeStamp(now) + "\n\n");
    progress.waitingForRecorder = false;
    EventFinished(true, false, now);
    return;
  }
  if (delayTarget != delayCounter) return;
  StopTimer(SchedulerTimer::DelayedStart);
  StartRecorder();
  progress.waitingForRecorder = false;
  EventFinished(true, false, now);
  StopTimer(SchedulerTimer::EventClock);
}

void SchedulerEngine::EventFinished(bool advance, bool closeViewer, const CivilTime& now) {
  StopTimer(SchedulerTimer::EventClock);
  if (closeViewer && actions.IsViewerRunning()) actions.PostClose(settings.viewerTitle);
  if (advance) {
    // The event that ran is the one in progress; a bare request (from the
    // window) means the event that is due now.
    std::optional<std::size_t> index;
    if (progress.event) {
      index = list.Find(*progress.event);
    } else {
      index = DueEvent(now);
    }
    if (index) {
      const ScheduleEvent ran = list.At(*index);
      const auto result = list.Advance(*index, ScheduleList::AdvanceKind::AfterRun);
      if (result.outcome == ScheduleList::AdvanceResult::Outcome::Conflict) {
        actions.ShowMessage(result.message);
        ranButStuck.push_back(ran);
      } else {
        actions.ScheduleChanged(list);
      }
    }
  }
  FinishAndRearm(now);
}

void SchedulerEngine::FinishAndRearm(const CivilTime& now) {
  progress = Progress{};
  if (list.IsEmpty()) {
    nextEventTime.reset();
    if (wakeUpArmed) {
      actions.UpdateWakeUpTask(false, lastWakeUp);
      wakeUpArmed = false;
    }
    return;
  }
  Arm(now);
}

bool SchedulerEngine::OnRecorderReport(int wParam, int lParam) {
  const auto report = ProgramProtocol::DecodeRecorderReport(wParam, lParam);
  if (!report) return false;
  switch (*report) {
    case RecorderReport::StartedByUser:
      recorderRecording = true;
      recorderScheduled = false;
      break;
    case RecorderReport::StartedForEvent:
      recorderRecording = true;
      recorderScheduled = true;
      break;
    case RecorderReport::Stopped:
      recorderRecording = false;
      break;
  }
  return true;
}

void SchedulerEngine::OnShutdownRequest() {
  shutdownCounter = 0;
  StartTimer(SchedulerTimer::Shutdown);
}

void SchedulerEngine::OnShutdownTick() {
  if (!IsRunning(SchedulerTimer::Shutdown)) return;
  if (++shutdownCounter < kShutdownSeconds) return;
  shutdownCounter = 0;
  actions.StartProgram(ProgramProtocol::kShutdownExe, ProgramProtocol::kShutdownParameters,
                       ShowMode::Show);
  StopTimer(SchedulerTimer::Shutdown);
}
