#pragma once

#include "core/protocol/ProgramProtocol.h"
#include "core/protocol/RemoteMessage.h"

// The player plug-in: drives whichever player runs, the plain one first.
class PlayerRemote {
 public:
  explicit PlayerRemote(DesktopWindows& desktop) : desktop(desktop) {}

  // Whether the player's control window or its video window is in front.
  bool IsInFocus() const;

  // Posts the message for the key to the player's control window, whether or
  // not it is in front; false when no player with a video window runs, the
  // key means nothing, or the post failed.
  bool HandleKey(int code, int eventType);

 private:
  // "Telvantis Play", else "Telvantis Play TS", else kNoWindow.
  WindowId FindControlWindow() const;

  DesktopWindows& desktop;
};
