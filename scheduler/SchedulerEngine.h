#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/time/CivilTime.h"
#include "core/protocol/ProgramProtocol.h"
#include "core/schedule/ScheduleList.h"
#include "scheduler/EventMoments.h"
#include "scheduler/SchedulerActions.h"
#include "core/tuning/TuningModel.h"

// The scheduler's event engine: fires the events of the schedule list around
// their start times. The window feeds it the ticks of its five timers with
// the current local time and forwards the messages it receives; the engine
// acts only through SchedulerActions and never reads the clock.
//
// The event it works on is the first one of the list that is still due: not
// yet run, and not past its end. An event that ran but could not be moved on
// (its next date conflicts with a later event) stays in the list and in
// schedule.txt unchanged and is passed over; once its end has passed it
// moves to the first later date that is free, as soon as there is one. An
// event whose end passed while no tick came (the machine slept) is logged as
// missed; a recurring one moves to its next date, a one-time one stays in the
// list (the start-up clean-up drops it, as it drops every past one) and is
// passed over even when the clock is set back over it: no event runs twice.
class SchedulerEngine {
 public:
  struct Settings {
    std::string viewerTitle;    // "Telvantis- " + model name
    std::string recorderTitle;  // "Silent Record- " or "Silent Record TS- " + model name
    SchedulerVariantNames names = SchedulerVariantNames::For(SchedulerVariant::DvrMs);
    int delaySeconds = 0;       // 0-30, before a new recorder starts after an old one

    static Settings For(const TuningModel& model, SchedulerVariant variant, int delaySeconds);
  };

  // Warning texts of the "SCHEDULER EVENT" box.
  static constexpr const char* kSilentViewerWarning =
      "SILENT RECORD EVENT: Telvantis Is Open-\nAny Recording/Timeshifting Will Be Stopped\n"
      "and Telvantis Will Be Closed In 15 Seconds";
  static constexpr const char* kSilentRecorderWarning =
      "SILENT RECORD EVENT: Silent Record\nIs Recording- Any Recording Will\n"
      "Be Stopped And Closed In 20 Seconds";
  static constexpr const char* kLiveRecorderWarning =
      "SCHEDULER EVENT: Record-Silent\nIs Recording- Any Recording Will\n"
      "Be Stopped And Closed In 10 Seconds";
  static constexpr const char* kLiveViewerWarning =
      "SCHEDULER EVENT: Telvantis Is Open-\nAny Recording/Timeshifting Will Be\n"
      "Stopped In 10 Seconds";

  static constexpr int kShutdownSeconds = 240;
  static constexpr int kDelayTicksPerSecond = 4;  // the delayed-start timer ticks every 250 ms
  // How long a silent recorder told to close may take before the event that
  // waits for it is given up, and the log entry (then the time stamp).
  static constexpr int kRecorderCloseSeconds = 60;
  static constexpr const char* kRecorderDidNotClose =
      "SILENT RECORD NOT STARTED, THE RECORDER DID NOT CLOSE: ";
  // How long the hand-over to the viewer waits for a silent recorder told to
  // close; the viewer is started or tuned when the window is gone, or then.
  static constexpr int kHandOffWaitSeconds = 10;

  SchedulerEngine(ScheduleList& list, std::vector<ChannelEntry> channels, Settings settings,
                  SchedulerActions& actions);

  // Start-up and every change of the list: stop the event clock, take the
  // next due event and wait for the next whole second.
  void Arm(const CivilTime& now);

  // Timer ticks.
  void OnAlignmentTick(const CivilTime& now);  // timer 2
  void OnClockTick(const CivilTime& now);      // timer 1
  void OnDelayedStartTick(const CivilTime& now);  // timer 3
  void OnShutdownTick();                        // timer 4
  void OnRecorderCloseTick(const CivilTime& now);  // timer 5

  // The event-finished entry (WM_APP + 20): close the viewer first when
  // asked, then advance or remove the event that was due.
  void EventFinished(bool advance, bool closeViewer, const CivilTime& now);

  // The local clock moved forward from `before` to `after` while hardly any
  // time passed (daylight saving time began, or the clock was set forward):
  // an event whose start lay in the skipped span starts once, as soon as the
  // clock is back, and still ends at its own end. One whose end was skipped
  // too is not started: it is logged "MISSED (CLOCK CHANGE): " with its line
  // of schedule.txt, and moved on as a missed event is.
  void OnLocalClockJump(const CivilTime& before, const CivilTime& after);

  // "TELVANTISSR START/STOP"; returns whether the pair meant anything.
  bool OnRecorderReport(int wParam, int lParam);
  // "TELVANTISSCHED SHUTDOWN": the shutdown command runs 240 seconds later.
  void OnShutdownRequest();

  void SetDelay(int seconds);
  void SetChannels(std::vector<ChannelEntry> table) { channels = std::move(table); }

  bool IsRecorderRecording() const { return recorderRecording; }
  bool IsRecorderScheduled() const { return recorderScheduled; }
  // The event the engine is waiting for, if any (index into the list).
  std::optional<std::size_t> DueEvent(const CivilTime& now) const;
  // The start of that event, as armed.
  std::optional<CivilTime> NextEventTime() const { return nextEventTime; }

 private:
  struct Progress {
    std::optional<ScheduleEvent> event;
    int done = 0;                         // moments acted
    std::optional<CivilTime> lastActed;
    bool closePending = false;
    bool waitingForRecorder = false;
    CivilTime waitStarted;  // the hand-over's wait for a closing recorder
  };

  void StartTimer(SchedulerTimer timer);
  void StopTimer(SchedulerTimer timer);
  bool IsRunning(SchedulerTimer timer) const;
  bool IsPassedOver(const ScheduleEvent& event, const CivilTime& now) const;
  bool IsStartSkipped(const ScheduleEvent& event) const;
  EventMoments MomentsOf(const ScheduleEvent& event) const;
  bool IsViewerUp();

  void ActSilent(int moment, const ScheduleEvent& event, const CivilTime& now);
  void ActLive(int moment, const ScheduleEvent& event, const CivilTime& now);
  void HandOffToViewer(const ScheduleEvent& event, const CivilTime& now);
  void StartRecorder();
  void FinishAndRearm(const CivilTime& now);
  void MoveOnPastEvents(const CivilTime& now);

  ScheduleList& list;
  std::vector<ChannelEntry> channels;
  Settings settings;
  SchedulerActions& actions;

  bool timers[6] = {};
  bool windowHidden = false;
  int alignmentSecond = -1;
  std::optional<CivilTime> nextEventTime;
  bool wakeUpArmed = false;
  CivilTime lastWakeUp;

  Progress progress;
  std::vector<ScheduleEvent> ranButStuck;
  std::vector<ScheduleEvent> loggedMissed;
  std::vector<std::pair<ScheduleEvent, CivilTime>> skippedStarts;  // event, its new start

  bool recorderRecording = false;
  bool recorderScheduled = false;
  int delayCounter = 0;
  int delayTarget = -1;
  int shutdownCounter = 0;
};
