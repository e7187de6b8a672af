#pragma once

#include <windows.h>

#include <string>

#include "scheduler/SchedulerActions.h"
#include "scheduler/SchedulerFolder.h"

// What the scheduler's window does for its engine's actions.
class SchedulerShell {
 public:
  virtual ~SchedulerShell() = default;
  virtual void HideWindow() = 0;
  // The list changed under the engine: show its rows again.
  virtual void RefreshRows() = 0;
  // A message box for the user, shown once the engine has returned.
  virtual void QueueMessage(const std::string& text) = 0;
};

// The engine's actions on Windows: windows found by exact title, registered
// messages, a process snapshot, shell starts, the warning box, the window's
// timers and the wake-up task. Files go to the working folder.
class Win32SchedulerActions : public SchedulerActions {
 public:
  Win32SchedulerActions(HWND window, SchedulerShell& shell, SchedulerFolder folder,
                        std::string wakeUpTaskName);

  bool IsWindowOpen(const std::string& title) override;
  void PostRegisteredMessage(const std::string& title, const std::string& messageName) override;
  void PostClose(const std::string& title) override;
  bool IsViewerRunning() override;
  bool StartProgram(const std::string& exe, const std::string& parameters, ShowMode show) override;
  void OpenWarningBox(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void HideSchedulerWindow() override;

  void WriteHandOffFile(const std::filesystem::path& name, const std::string& content) override;
  void AppendLog(const std::string& entry) override;
  void AppendDebugLine(const std::string& line) override;
  std::optional<std::vector<ChannelEntry>> ReadChannels() override;
  bool RewriteViewerChannel(int channelIndex) override;
  void ScheduleChanged(const ScheduleList& list) override;

  void UpdateWakeUpTask(bool enabled, const CivilTime& trigger) override;
  void StartTimer(SchedulerTimer timer) override;
  void StopTimer(SchedulerTimer timer) override;

  const SchedulerFolder& Folder() const { return folder; }

 private:
  HWND window;
  SchedulerShell& shell;
  SchedulerFolder folder;
  std::string wakeUpTaskName;
};
