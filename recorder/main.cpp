// TelvantisSR and TelvantisSRTS: the silent recorders. They run only when the
// scheduler starts them with the lock switch; the window does all the work.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/protocol/ProgramProtocol.h"
#include "recorder/RecorderDialog.h"
#include "win/ComScope.h"

// The build chooses the variant: TELVANTIS_RECORDER_VARIANT names one of
// RecorderVariant's values. This is the only place that reads it.
constexpr RecorderVariant kVariant = RecorderVariant::TELVANTIS_RECORDER_VARIANT;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (!ProgramProtocol::IsLockSwitch(commandLine != nullptr ? commandLine : "")) return 0;
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS |
                                    ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  // COM for the whole run; the window and its graph are gone before it ends.
  ComScope com;
  RecorderDialog recorder(kVariant);
  if (recorder.Run(nullptr) == -1) {
    MessageBoxA(nullptr, "CAN'T OPEN THE SILENT RECORD WINDOW", "", MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  return 0;
}
