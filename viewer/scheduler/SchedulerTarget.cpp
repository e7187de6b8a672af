// The panel's side of the scheduler's commands: what ViewerDialog does when
// the scheduler changes the channel, starts a recording or starts timeshift.
#include "viewer/ViewerDialog.h"
#include "viewer/record/RecordClock.h"
#include "viewer/resource.h"

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

// The recording runs from the event's start to its end; the when-done
// code marks it as the scheduler's.
void ViewerDialog::StartScheduledRecording(const RecLiveHandOff& event) {
  transport.StartRecording(
      DurationUntil(event.startHour, event.startMinute, event.endHour, event.endMinute),
      event.whenDone);
}

void ViewerDialog::PauseForTimeshift() { transport.OnCommand(IDC_PAUSE); }
