// TelvantisPlay and TelvantisPlayTS: the control panel does all the work;
// this runs its message loop with the keyboard table.
#include <windows.h>
#include <commctrl.h>

#include "player/PlayerDialog.h"
#include "player/PlayerVariant.h"
#include "win/ComScope.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // COM for the whole run; the panel and its graph go before it.
  ComScope com;
  PlayerDialog player(ThisPlayer(), commandLine != nullptr ? commandLine : "");
  if (!player.Create(nullptr)) {
    MessageBoxA(nullptr, "CAN'T OPEN THE TELVANTIS PLAY WINDOW", "", MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (player.TranslateKeys(message)) continue;
    if (player.Handle() != nullptr && IsDialogMessageA(player.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
