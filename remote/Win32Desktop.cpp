#include "remote/Win32Desktop.h"

#include <windows.h>

namespace {

HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId ToId(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

}  // namespace

WindowId Win32Desktop::FindByTitle(const std::string& title) const {
  // Not found is the usual answer here (the program is not running).
  return ToId(FindWindowA(nullptr, title.c_str()));
}

WindowId Win32Desktop::Foreground() const { return ToId(GetForegroundWindow()); }

bool Win32Desktop::Post(WindowId target, const RemoteMessage& message) {
  // A null window would post to the host's own thread: never do that.
  if (target == kNoWindow) return false;
  const UINT number =
      message.kind == RemoteMessage::Kind::KeyDown ? WM_KEYDOWN : static_cast<UINT>(kRemoteCommandMessage);
  return PostMessageA(ToHwnd(target), number, static_cast<WPARAM>(message.wParam),
                      static_cast<LPARAM>(message.lParam)) != FALSE;
}
