#include "viewer/SystemAwake.h"

#include <windows.h>

void SystemAwake::Begin() {
  SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
  BOOL active = FALSE;  // set first: some systems report success without writing it
  if (SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && active) {
    screenSaverWasActive = true;
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
  }
  begun = true;
}

void SystemAwake::End() {
  if (!begun) return;
  begun = false;
  SetThreadExecutionState(ES_CONTINUOUS);
  if (screenSaverWasActive) SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}
