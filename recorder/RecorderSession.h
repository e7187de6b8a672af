#pragma once

#include <optional>
#include <string>

#include "core/protocol/ProgramProtocol.h"
#include "core/time/CivilTime.h"
#include "recorder/RecorderVariant.h"
#include "recorder/RecordingClock.h"

// Why a recording ends.
enum class StopReason {
  User,          // the stop button
  EndOfTime,     // the clock reached the stop time
  WriteFailure,  // the recording file could not be written (a full disk)
  Aborted,       // the graph stopped itself for another reason
  BuildFailed,   // the graph could not be built or started
  Closed,        // WM_CLOSE, which the scheduler posts to end a recorder
};

// The silent recorder's decisions from start to stop: scheduled or by hand,
// what is shown, logged and posted, and when the recording ends. The window
// shows and does what these return; the clock is passed in.
class RecorderSession {
 public:
  static constexpr const char* kNoDuration = "NO DURATION SPECIFIED";
  static constexpr const char* kCantBuildGraph = "CAN'T BUILD GRAPH";

  explicit RecorderSession(RecorderVariant variant) : variant(variant) {}

  // Started for an event of silentevent.txt: nothing is shown but the few
  // messages that always are, and the end of time may shut the machine down.
  void BeginScheduled(bool shutdownWhenDone);

  bool Scheduled() const { return scheduled; }
  bool IsRecording() const { return recording; }

  // Why a recording by hand cannot start with these spins, or nothing.
  std::optional<std::string> RefuseStart(HoursMinutes spins) const;

  // Whether a graph message is shown to the user in this mode.
  bool Shows(const std::string& message) const;

  // The graph runs: the clock is set and the recording counts from here.
  // Returns the entry for scheduler.txt.
  std::string Started(const CivilTime& now, const RecordingClock& recordingClock);

  // What the start posts to the scheduler: (1, 0) by hand, (1, 1) for an
  // event.
  ProgramProtocol::RecorderReport StartReport() const;

  const RecordingClock& Clock() const { return *clock; }
  RecordingClock& Clock() { return *clock; }
  const ElapsedTime& Elapsed() const { return elapsed; }

  // One tick of the one-second timer while recording.
  struct Tick {
    std::string elapsedText;
    int percent = 0;
    bool hide = false;  // the window hides itself now
    bool stop = false;  // the stop time is reached
  };
  Tick OnTimer(const CivilTime& now);

  // What the stop does besides tearing the graph down: the entries for
  // scheduler.txt (empty for none) and whether the scheduler is asked to
  // shut the machine down. The stop report (0, 1) is always posted.
  struct StopEffects {
    std::string log;
    bool postShutdown = false;
  };
  StopEffects Stop(StopReason reason, const CivilTime& now);

 private:
  RecorderVariant variant;
  bool scheduled = false;
  bool shutdownWhenDone = false;
  bool recording = false;
  std::optional<RecordingClock> clock;
  ElapsedTime elapsed;
};
