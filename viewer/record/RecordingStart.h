#pragma once
// A recording from live starts in two steps: the move into the stream
// buffer, then the "Recording Now" window, the only place where the user
// sees the recording and can stop it. A recording whose window cannot be
// opened is not left running unseen: it stops at once and the user is told.

#include <string>

class RecordingStartSteps {
 public:
  // The move into the record folder; false when it failed (it has told the
  // user why).
  virtual bool StartRecording() = 0;
  // Opens the "Recording Now" window; false when it cannot be opened.
  virtual bool OpenNowWindow() = 0;
  // Ends the recording as STOP does: back at live television.
  virtual void StopRecording() = 0;
  // Shows `text` in an exclamation box.
  virtual void Tell(const std::string& text) = 0;

 protected:
  ~RecordingStartSteps() = default;
};

enum class RecordingStartResult {
  NotStarted,          // the move failed
  Running,             // recording, with its window open
  StoppedWithoutWindow,
};

RecordingStartResult StartRecordingWithWindow(RecordingStartSteps& steps);
