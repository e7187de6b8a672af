#include "viewer/record/RecordingStart.h"

RecordingStartResult StartRecordingWithWindow(RecordingStartSteps& steps) {
  if (!steps.StartRecording()) return RecordingStartResult::NotStarted;
  if (steps.OpenNowWindow()) return RecordingStartResult::Running;
  // Stopped first, so that nothing records while the box waits for the user.
  steps.StopRecording();
  steps.Tell("CAN'T OPEN RECORDING NOW WINDOW: RECORDING STOPPED");
  return RecordingStartResult::StoppedWithoutWindow;
}
