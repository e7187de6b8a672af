// telvplayerpointer: the mouse over a player's windows, and their order.
//
// Usage: telvplayerpointer move TITLE X Y   moves the mouse, as a user would,
//                                           to X, Y inside the window TITLE
//                                           (from its top-left corner)
//        telvplayerpointer above TOP UNDER  prints 1 when the window TOP is
//                                           above the window UNDER, else 0
//        telvplayerpointer moving TITLE L T R B
//                                           offers the window TITLE the
//                                           rectangle of a drag (WM_MOVING)
//                                           and prints the one it keeps
// Exit status: 0 done; 1 no such window or the move failed; 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tests/wine/shared/BoundedSend.h"

namespace {

HWND Find(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (window == nullptr) std::fprintf(stderr, "telvplayerpointer: no window \"%s\"\n", title);
  return window;
}

// An absolute move through the input queue, so the window under the mouse
// gets its WM_SETCURSOR and WM_MOUSEMOVE as from a real mouse.
bool MoveTo(int x, int y) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 1 || height <= 1) return false;
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = x * 65535 / (width - 1);
  input.mi.dy = y * 65535 / (height - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return SendInput(1, &input, sizeof input) == 1;
}

// Whether `under` comes after `top` in the order of the top-level windows.
bool IsAbove(HWND top, HWND under) {
  for (HWND next = GetWindow(top, GW_HWNDNEXT); next != nullptr; next = GetWindow(next, GW_HWNDNEXT)) {
    if (next == under) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const bool move = argc == 5 && std::string_view(argv[1]) == "move";
  const bool above = argc == 4 && std::string_view(argv[1]) == "above";
  const bool moving = argc == 7 && std::string_view(argv[1]) == "moving";
  if (!move && !above && !moving) {
    std::fputs("Usage: telvplayerpointer move TITLE X Y\n"
               "       telvplayerpointer above TOP UNDER\n"
               "       telvplayerpointer moving TITLE L T R B\n",
               stderr);
    return 2;
  }
  HWND first = Find(argv[2]);
  if (first == nullptr) return 1;
  if (moving) {
    // The rectangle travels with the message between processes, as the
    // system's move loop would hand it over.
    RECT proposed{static_cast<LONG>(std::strtol(argv[3], nullptr, 10)),
                  static_cast<LONG>(std::strtol(argv[4], nullptr, 10)),
                  static_cast<LONG>(std::strtol(argv[5], nullptr, 10)),
                  static_cast<LONG>(std::strtol(argv[6], nullptr, 10))};
    testsend::Send(first, WM_MOVING, WMSZ_TOPLEFT, reinterpret_cast<LPARAM>(&proposed));
    std::printf("%ld %ld %ld %ld\n", proposed.left, proposed.top, proposed.right, proposed.bottom);
    return 0;
  }
  if (move) {
    RECT rect{};
    if (!GetWindowRect(first, &rect)) return 1;
    const int x = rect.left + static_cast<int>(std::strtol(argv[3], nullptr, 10));
    const int y = rect.top + static_cast<int>(std::strtol(argv[4], nullptr, 10));
    return MoveTo(x, y) ? 0 : 1;
  }
  HWND second = Find(argv[3]);
  if (second == nullptr) return 1;
  std::printf("%d\n", IsAbove(first, second) ? 1 : 0);
  return 0;
}
