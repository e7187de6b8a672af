#pragma once
// Keeps the system and the display awake, with the screen saver off, while
// a program that shows television runs, and gives both back when it ends.

#include <windows.h>

class SystemAwake {
 public:
  // Asks for the system and the display to stay on and switches an active
  // screen saver off.
  void Begin() {
    SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
    BOOL active = FALSE;  // set first: some systems report success without writing it
    if (SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && active) {
      screenSaverWasActive = true;
      SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    }
    begun = true;
  }

  // Gives back the power state and switches the screen saver back on when
  // Begin found it on. Only the first call after Begin does anything.
  void End() {
    if (!begun) return;
    begun = false;
    SetThreadExecutionState(ES_CONTINUOUS);
    if (screenSaverWasActive) SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
  }

 private:
  bool begun = false;
  bool screenSaverWasActive = false;
};
