// The panel's side of the scheduler's commands: what ViewerDialog does when
// the scheduler changes the channel, starts a recording or starts timeshift.
#include "viewer/ViewerDialog.h"
#include "viewer/resource.h"

void ViewerDialog::StopWhatRuns() {
  // The stop button's command, as key U gives it.
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDC_STOP_BUFFERING, BN_CLICKED), 0);
}

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

void ViewerDialog::StartScheduledRecording(const RecLiveHandOff& event) {
  // TO JOIN: engine.StartRecordingFromLive(...) until event.endHour:endMinute
  // with event.whenDone, the recording marked as the scheduler's, timer 4 and
  // the "Recording Now" window. The engine's recording is not on this branch.
  (void)event;
}

void ViewerDialog::PauseForTimeshift() {
  // TO JOIN: engine.ToggleTimeshift() into "ON+PAUSE" (the pause command).
  // The engine's timeshift is not on this branch.
}
