#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/time/CivilTime.h"

class ScheduleList;

// The scheduler's timers, by the ids the window uses.
enum class SchedulerTimer {
  EventClock = 1,    // 1000 ms, aligned to whole seconds
  Alignment = 2,     // 200 ms, waits for the next whole second
  DelayedStart = 3,  // 250 ms, waits for a closing recorder, then the delay
  Shutdown = 4,      // 1000 ms, counts down to the shutdown command
  RecorderClose = 5, // 100 ms, waits for a recorder to close before a hand-over to the viewer
};

// How a started program's window appears.
enum class ShowMode { NoActivate, Show };

// Everything the scheduler's event engine does to the world goes through this
// interface: the Win32 shell implements it, the tests record it.
class SchedulerActions {
 public:
  virtual ~SchedulerActions() = default;

  // Windows and processes.
  virtual bool IsWindowOpen(const std::string& title) = 0;
  // Posts a registered message (wParam 0, lParam 0) to the window of that
  // title; lost when there is none.
  virtual void PostRegisteredMessage(const std::string& title, const std::string& messageName) = 0;
  // Posts WM_CLOSE to the window of that title, if there is one.
  virtual void PostClose(const std::string& title) = 0;
  virtual bool IsViewerRunning() = 0;
  // Shell "open" of an executable; false when the start failed.
  virtual bool StartProgram(const std::string& exe, const std::string& parameters, ShowMode show) = 0;
  // A new modeless "SCHEDULER EVENT" box with this text.
  virtual void OpenWarningBox(const std::string& text) = 0;
  // A message box for the user (a refused advance, for example).
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void HideSchedulerWindow() = 0;

  // Files of the working folder (see SchedulerFolder).
  virtual void WriteHandOffFile(const std::filesystem::path& name, const std::string& content) = 0;
  virtual void AppendLog(const std::string& entry) = 0;
  virtual void AppendDebugLine(const std::string& line) = 0;
  virtual std::optional<std::vector<ChannelEntry>> ReadChannels() = 0;
  // Value 11 of config.txt; false (file unchanged) when it cannot be read.
  virtual bool RewriteViewerChannel(int channelIndex) = 0;
  // The list changed: rewrite schedule.txt (or delete it) and the list rows.
  virtual void ScheduleChanged(const ScheduleList& list) = 0;

  // Platform.
  virtual void UpdateWakeUpTask(bool enabled, const CivilTime& trigger) = 0;
  virtual void StartTimer(SchedulerTimer timer) = 0;
  virtual void StopTimer(SchedulerTimer timer) = 0;
};
