// telvcontrolstate: whether controls in another program's window are
// enabled, for the tests that check which buttons a program greys out.
//
// Usage: telvcontrolstate enabled TITLE ID...   print 1 or 0 per control,
//                                               one per line
// Exit status: 0 done; 1 no such window or control; 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

int main(int argc, char** argv) {
  if (argc < 4 || std::string_view(argv[1]) != "enabled") {
    std::fputs("Usage: telvcontrolstate enabled TITLE ID...\n", stderr);
    return 2;
  }
  HWND window = FindWindowA(nullptr, argv[2]);
  if (window == nullptr) {
    std::fprintf(stderr, "telvcontrolstate: no window \"%s\"\n", argv[2]);
    return 1;
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
