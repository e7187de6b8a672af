// TelvantisSched and TelvantisSchedTS: the schedulers. They live in the
// notification area and start or command the viewer and the silent recorder
// at the times of the events in schedule.txt.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "scheduler/BuildVariant.h"
#include "scheduler/SchedulerWindow.h"
#include "win/ComScope.h"
#include "win/UniqueHandle.h"

namespace {

// One scheduler per working folder: two would run two engines on one
// schedule.txt. The name holds the folder (a mutex name takes no backslash
// after its namespace).
std::string InstanceName() {
  std::string folder = std::filesystem::current_path().string();
  std::replace(folder.begin(), folder.end(), '\\', '/');
  return "Local\\TelvantisScheduler " + folder.substr(0, 200);
}

// The running scheduler's window: either variant, found by the start of its title.
HWND FindRunningScheduler() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        char text[256] = {};
        GetWindowTextA(window, text, static_cast<int>(sizeof text));
        if (std::string(text).rfind("Telvantis Scheduler", 0) == 0) {
          *reinterpret_cast<HWND*>(context) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  UniqueKernelHandle instance(CreateMutexA(nullptr, FALSE, InstanceName().c_str()));
  if (instance && GetLastError() == ERROR_ALREADY_EXISTS) {
    if (HWND running = FindRunningScheduler()) {
      AllowSetForegroundWindow(ASFW_ANY);
      PostMessageA(running, SchedulerWindow::kShowMessage, 0, 0);
    }
    return 0;
  }
  const SchedulerVariant variant = BuiltVariant();
  SchedulerSetup setup = SchedulerSetup::Load(std::filesystem::current_path(), variant);
  if (!setup.error.empty()) {
    MessageBoxA(nullptr, setup.error.c_str(), "", MB_OK);
    return 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  ComScope com;  // the wake-up task and the folder browser
  SchedulerWindow window(std::move(setup), variant);
  if (!window.Create(nullptr)) {
    MessageBoxA(nullptr, "CAN'T OPEN THE SCHEDULER WINDOW", "", MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (window.Handle() != nullptr && IsDialogMessageA(window.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
