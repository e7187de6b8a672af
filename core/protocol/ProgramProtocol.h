#pragma once

#include <optional>
#include <string>

#include "core/tuning/TuningModel.h"

// How the suite's programs reach each other: window titles, registered
// message names, executables and the recorders' lock switch. Every program
// takes these names from here.
namespace ProgramProtocol {

// Registered window messages (RegisterWindowMessageA names).
inline constexpr const char* kChangeChannelMessage = "TELVANTISSCHED CHANGE CHANNEL";  // scheduler -> viewer, 0, 0
inline constexpr const char* kStartRecordMessage = "TELVANTISSCHED START RECORD";      // scheduler -> viewer, 0, 0
inline constexpr const char* kTimeshiftMessage = "TELVANTISSCHED TIMESHIFT";          // scheduler -> viewer, 0, 0
inline constexpr const char* kShutdownMessage = "TELVANTISSCHED SHUTDOWN";            // recorder -> scheduler, 0, 0
inline constexpr const char* kRecorderStartStopMessage = "TELVANTISSR START/STOP";    // recorder -> scheduler
// The guide hands the scheduler one event in guideevent.txt (viewer ->
// scheduler, 0, 0); the scheduler answers the viewer's window with the
// request number of that file and 1 (added) or 0 (refused), the refusal's
// text in guideanswer.txt (see HandOffFiles).
inline constexpr const char* kGuideEventMessage = "TELVANTISGUIDE RECORD EVENT";      // viewer -> scheduler, 0, 0
inline constexpr const char* kGuideAnswerMessage = "TELVANTISSCHED GUIDE ANSWER";     // scheduler -> viewer

// The players' windows, found by these titles: the control window of the
// plain player, that of the transport-stream player, and the video window
// that either player opens.
inline constexpr const char* kPlayerTitle = "Telvantis Play";
inline constexpr const char* kPlayerTsTitle = "Telvantis Play TS";
inline constexpr const char* kPlayerVideoTitle = "TelvantisPlayVideo";

// The modeless warning box of the scheduler, found and closed by this title.
inline constexpr const char* kWarningBoxTitle = "SCHEDULER EVENT";

// A silent recorder runs only when its whole command line is this switch.
inline constexpr const char* kLockSwitch = "/LOCKTELVANTISSR";
bool IsLockSwitch(const std::string& commandLine);

// Executables, started with the shell verb "open" from the working directory.
inline constexpr const char* kViewerExe = "Telvantis.exe";
inline constexpr const char* kShutdownExe = "c:\\windows\\system32\\shutdown.exe";
// "-s -t 60 -c" and the comment in double quotes (two blanks after RUN).
inline constexpr const char* kShutdownParameters =
    "-s -t 60 -c \"TO ABORT SHUTDOWN, TYPE IN RUN  shutdown -a\"";
// The viewer-running test looks for a process of exactly this name.
inline constexpr const char* kViewerProcessName = "Telvantis.exe";

// The scheduler's private messages, as offsets from WM_APP.
inline constexpr int kTrayCallbackOffset = 10;
inline constexpr int kEventFinishedOffset = 20;

// What "TELVANTISSR START/STOP" (wParam, lParam) reports.
enum class RecorderReport { StartedByUser, StartedForEvent, Stopped };
// (1, 0) by the user, (1, 1) for a scheduled event, (0, 1) stopped; any
// other pair means nothing.
std::optional<RecorderReport> DecodeRecorderReport(int wParam, int lParam);
// The pair a recorder posts for a report.
void EncodeRecorderReport(RecorderReport report, int& wParam, int& lParam);

}  // namespace ProgramProtocol

// The two builds of the scheduler differ only in the recorder and player
// they drive and in how long they wait for a closing recorder.
enum class SchedulerVariant { DvrMs, TransportStream };

struct SchedulerVariantNames {
  ProgramWindow schedulerWindow;
  ProgramWindow recorderWindow;
  const char* recorderExe;
  const char* playerExe;
  const char* playerMenuItem;
  long maxRecorderPolls;  // polls for a closing recorder window

  static SchedulerVariantNames For(SchedulerVariant variant);
};
