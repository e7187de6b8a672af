#include "remote/PlayerRemote.h"

#include "remote/RemoteKeyTables.h"

WindowId PlayerRemote::FindControlWindow() const {
  WindowId window = desktop.FindByTitle(ProgramProtocol::kPlayerTitle);
  if (window == kNoWindow) window = desktop.FindByTitle(ProgramProtocol::kPlayerTsTitle);
  return window;
}

bool PlayerRemote::IsInFocus() const {
  const WindowId control = FindControlWindow();
  if (control == kNoWindow) return false;
  const WindowId front = desktop.Foreground();
  if (front == kNoWindow) return false;
  if (control == front) return true;
  return desktop.FindByTitle(ProgramProtocol::kPlayerVideoTitle) == front;
}

bool PlayerRemote::HandleKey(int code, int eventType) {
  const WindowId control = FindControlWindow();
  if (control == kNoWindow) return false;
  // Without its video window the player has nothing open to act on.
  if (desktop.FindByTitle(ProgramProtocol::kPlayerVideoTitle) == kNoWindow) return false;
  auto message = PlayerMessageForKey(code, eventType);
  if (!message) return false;
  return desktop.Post(control, *message);
}
