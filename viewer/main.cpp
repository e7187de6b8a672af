// Telvantis: the live TV viewer. The control panel does all the work; this
// runs its message loop with the keyboard table.
#include <windows.h>
#include <commctrl.h>

#include "viewer/ViewerDialog.h"
#include "win/ComScope.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  // COM for the whole run. Declared before the panel, so that the panel and
  // every COM object it holds are gone before COM is shut down.
  ComScope com;
  ViewerDialog viewer;
  if (!viewer.Create(nullptr)) {
    MessageBoxA(nullptr, "CAN'T OPEN THE TELVANTIS WINDOW", "", MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  // The start-up has shown why it could not go on; it is an ordinary end.
  if (viewer.StartupFailed()) return 0;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (viewer.TranslateKeys(message)) continue;
    if (viewer.Handle() != nullptr && IsDialogMessageA(viewer.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
