// telvcontrolstate: whether controls in another program's window are
// enabled, for the tests that check which buttons a program greys out, and
// where a window stands.
//
// Usage: telvcontrolstate enabled TITLE ID...   print 1 or 0 per control,
//                                               one per line
//        telvcontrolstate rect TITLE            print the window's rectangle
//                                               (GetWindowRect): left top
//                                               right bottom
//        telvcontrolstate digits TITLE DIGITS   post the remote control's
//                                               digit message (0x800A, digit,
//                                               0) per digit, all at once,
//                                               as a remote typing a number
// Exit status: 0 done; 1 no such window or control; 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

int main(int argc, char** argv) {
  const bool enabled = argc >= 4 && std::string_view(argv[1]) == "enabled";
  const bool rect = argc == 3 && std::string_view(argv[1]) == "rect";
  const bool digits = argc == 4 && std::string_view(argv[1]) == "digits";
  if (!enabled && !rect && !digits) {
    std::fputs("Usage: telvcontrolstate enabled TITLE ID...\n"
               "       telvcontrolstate rect TITLE\n"
               "       telvcontrolstate digits TITLE DIGITS\n",
               stderr);
    return 2;
  }
  HWND window = FindWindowA(nullptr, argv[2]);
  if (window == nullptr) {
    std::fprintf(stderr, "telvcontrolstate: no window \"%s\"\n", argv[2]);
    return 1;
  }
  if (digits) {
    for (const char* d = argv[3]; *d != '\0'; ++d) {
      if (*d < '0' || *d > '9') return 2;
      if (!PostMessageA(window, WM_APP + 10, static_cast<WPARAM>(*d - '0'), 0)) return 1;
    }
    return 0;
  }
  if (rect) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  for (int i = 3; i < argc; ++i) {
    HWND control = GetDlgItem(window, static_cast<int>(std::strtol(argv[i], nullptr, 0)));
    if (control == nullptr) {
      std::fprintf(stderr, "telvcontrolstate: no control %s\n", argv[i]);
      return 1;
    }
    std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
  }
  return 0;
}
