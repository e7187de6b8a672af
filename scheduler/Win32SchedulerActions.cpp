#include "scheduler/Win32SchedulerActions.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <vector>

#include "core/protocol/ProgramProtocol.h"
#include "scheduler/WakeUpTask.h"
#include "scheduler/WarningBox.h"
#include "win/UniqueHandle.h"

namespace {

UINT TimerPeriodMs(SchedulerTimer timer) {
  switch (timer) {
    case SchedulerTimer::EventClock: return 1000;
    case SchedulerTimer::Alignment: return 200;
    case SchedulerTimer::DelayedStart: return 250;
    case SchedulerTimer::Shutdown: return 1000;
    case SchedulerTimer::RecorderClose: return 100;
  }
  return 1000;
}

// Every top-level window with exactly this title.
std::vector<HWND> WindowsTitled(const std::string& title) {
  struct Search {
    const std::string* title;
    std::vector<HWND> found;
  } search{&title, {}};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        char text[512] = {};
        GetWindowTextA(window, text, static_cast<int>(sizeof text));
        if (*s->title == text) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

Win32SchedulerActions::Win32SchedulerActions(HWND window, SchedulerShell& shell,
                                             SchedulerFolder folder, std::string wakeUpTaskName)
    : window(window), shell(shell), folder(std::move(folder)), wakeUpTaskName(std::move(wakeUpTaskName)) {}

bool Win32SchedulerActions::IsWindowOpen(const std::string& title) {
  return FindWindowA(nullptr, title.c_str()) != nullptr;
}

void Win32SchedulerActions::PostRegisteredMessage(const std::string& title,
                                                  const std::string& messageName) {
  const UINT message = RegisterWindowMessageA(messageName.c_str());
  HWND target = FindWindowA(nullptr, title.c_str());
  // No window: the program is not running and the message is lost, as agreed.
  if (target != nullptr && message != 0) PostMessageA(target, message, 0, 0);
}

void Win32SchedulerActions::PostClose(const std::string& title) {
  // Every window of the title: each warning opened a box of its own.
  for (HWND target : WindowsTitled(title)) PostMessageA(target, WM_CLOSE, 0, 0);
}

bool Win32SchedulerActions::IsViewerRunning() {
  UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more;
       more = Process32Next(snapshot.Get(), &entry)) {
    if (std::strcmp(entry.szExeFile, ProgramProtocol::kViewerProcessName) == 0) return true;
  }
  return false;
}

bool Win32SchedulerActions::StartProgram(const std::string& exe, const std::string& parameters,
                                         ShowMode show) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", exe.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                    nullptr, show == ShowMode::Show ? SW_SHOW : SW_SHOWNOACTIVATE));
  return result > 32;
}

void Win32SchedulerActions::OpenWarningBox(const std::string& text) { WarningBox::Open(text); }

void Win32SchedulerActions::ShowMessage(const std::string& text) { shell.QueueMessage(text); }

void Win32SchedulerActions::HideSchedulerWindow() { shell.HideWindow(); }

void Win32SchedulerActions::WriteHandOffFile(const std::filesystem::path& name,
                                             const std::string& content) {
  // A hand-off that cannot be written leaves the program in its manual mode.
  (void)folder.WriteHandOffFile(name, content);
}

void Win32SchedulerActions::AppendLog(const std::string& entry) { (void)folder.AppendLog(entry); }

void Win32SchedulerActions::AppendDebugLine(const std::string& line) {
  (void)folder.AppendDebugLine(line);
}

std::optional<std::vector<ChannelEntry>> Win32SchedulerActions::ReadChannels() {
  return folder.ReadChannels();
}

bool Win32SchedulerActions::RewriteViewerChannel(int channelIndex) {
  return folder.RewriteViewerChannel(channelIndex);
}

void Win32SchedulerActions::ScheduleChanged(const ScheduleList& list) {
  if (!folder.SaveSchedule(list)) shell.QueueMessage("CAN'T WRITE SCHEDULE.TXT");
  shell.RefreshRows();
}

void Win32SchedulerActions::UpdateWakeUpTask(bool enabled, const CivilTime& trigger) {
  // The task is the user's optional set-up; without it the scheduler still works.
  (void)::UpdateWakeUpTask(wakeUpTaskName, enabled, trigger);
}

void Win32SchedulerActions::StartTimer(SchedulerTimer timer) {
  SetTimer(window, static_cast<UINT_PTR>(timer), TimerPeriodMs(timer), nullptr);
}

void Win32SchedulerActions::StopTimer(SchedulerTimer timer) {
  KillTimer(window, static_cast<UINT_PTR>(timer));
}
