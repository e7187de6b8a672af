// telvplayerpointer: the mouse over a player's windows, and their order.
//
// Usage: telvplayerpointer move TITLE X Y [TITLE X Y]...
//                                           moves the mouse, as a user would,
//                                           to X, Y inside the window TITLE
//                                           (from its top-left corner), and
//                                           on to each next place after a
//                                           rest of 300 ms there
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

// How long the mouse rests at each place of a path before it moves on.
constexpr DWORD kRestMs = 300;

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
  const bool move = argc >= 5 && (argc - 2) % 3 == 0 && std::string_view(argv[1]) == "move";
  const bool above = argc == 4 && std::string_view(argv[1]) == "above";
  const bool moving = argc == 7 && std::string_view(argv[1]) == "moving";
  if (!move && !above && !moving) {
    std::fputs("Usage: telvplayerpointer move TITLE X Y [TITLE X Y]...\n"
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
    // One process for the whole path: starting a program per step can take
    // seconds on a busy machine, longer than the player's idle time.
    for (int at = 2; at < argc; at += 3) {
      HWND window = at == 2 ? first : Find(argv[at]);
      RECT rect{};
      if (window == nullptr || !GetWindowRect(window, &rect)) return 1;
      if (at > 2) Sleep(kRestMs);
      const int x = rect.left + static_cast<int>(std::strtol(argv[at + 1], nullptr, 10));
      const int y = rect.top + static_cast<int>(std::strtol(argv[at + 2], nullptr, 10));
      if (!MoveTo(x, y)) return 1;
    }
    return 0;
  }
  HWND second = Find(argv[3]);
  if (second == nullptr) return 1;
  std::printf("%d\n", IsAbove(first, second) ? 1 : 0);
  return 0;
}
