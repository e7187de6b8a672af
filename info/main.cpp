// TelvantisInfo: shows the tuners, capture devices and decoders the machine
// offers, writes tuner.txt and decoders.txt, and checks and registers the
// filters the suite needs.
#include <windows.h>

#include "win/ComScope.h"
#include "info/InfoDialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ComScope com;
  if (!com.Succeeded()) {
    MessageBoxA(nullptr, "CAN'T INITIALIZE COM", "", MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  InfoDialog dialog;
  if (dialog.Run(nullptr) == -1) {
    MessageBoxA(nullptr, "CAN'T OPEN THE TELVANTISINFO WINDOW", "", MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  return 0;
}
