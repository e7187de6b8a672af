#pragma once
// Keeps the system and the display awake, with the screen saver off, while
// the viewer runs, and gives both back when it ends.

class SystemAwake {
 public:
  // Asks for the system and the display to stay on and switches an active
  // screen saver off.
  void Begin();
  // Gives back the power state and switches the screen saver back on when
  // Begin found it on. Only the first call after Begin does anything.
  void End();

 private:
  bool begun = false;
  bool screenSaverWasActive = false;
};
