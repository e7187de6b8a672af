// The panel's side of the scheduler's commands: what ViewerDialog does when
// the scheduler changes the channel, starts a recording or starts timeshift.
#include "core/files/FileNames.h"
#include "core/protocol/EventLog.h"
#include "core/schedule/EventEnd.h"
#include "viewer/ViewerDialog.h"
#include "viewer/record/RecordClock.h"
#include "viewer/resource.h"
#include "win/LocalNow.h"

// Key U's command: timeshift off, or the running recording stopped.
void ViewerDialog::StopWhatRuns() { transport.StopCommand(); }

void ViewerDialog::TuneScheduledChannel(int index) {
  const auto tune = session.SwitchTo(index);
  if (!tune) return;
  // A failing step has shown its message; the label still names the channel asked for.
  (void)engine.TuneChannel(*tune);
  if (const ChannelEntry* channel = session.CurrentChannel())
    SetItemText(IDC_CHANNEL_DISPLAY, ChannelCaption(*channel));
  signalTicks = 0;
  SetTimer(hwnd, kSignalTimer, kTimerPeriod, nullptr);
}

// The recording stops at the event's end, however late the command came
// (a clock that came back over the start, a slow hand-over); one whose end
// has passed already is not started, with a line in the event log. The
// when-done code marks it as the scheduler's. Timeshift gives way to it; a
// recording that runs already goes on, and the scheduled one is refused in
// the event log and on screen rather than dropped without a word.
void ViewerDialog::StartScheduledRecording(const RecLiveHandOff& event) {
  const CivilTime now = LocalNow();
  const CivilTime stop =
      EventEndForStart(now, event.startHour, event.startMinute, event.endHour, event.endMinute);
  if (!(now < stop)) {
    EventLog::Append(FileNames::kEventLog, EventLog::RecordLiveEndPassed(now));
    return;
  }
  switch (session.AnswerScheduledRecording()) {
    case ScheduledRecording::Refuse:
      EventLog::Append(FileNames::kEventLog, EventLog::RecordLiveRefused(now));
      ShowOsdText("SCHEDULED RECORDING REFUSED");
      return;
    case ScheduledRecording::EndTimeshiftThenStart:
      transport.TimeshiftOff();  // a failure has shown its messages
      break;
    case ScheduledRecording::Start:
      break;
  }
  transport.StartRecordingUntil(
      stop, DurationUntil(event.startHour, event.startMinute, event.endHour, event.endMinute),
      event.whenDone);
}

void ViewerDialog::PauseForTimeshift() { transport.OnCommand(IDC_PAUSE); }
