// telvtarget: stands in for the viewer's and the players' windows in the
// plug-in tests. Usage: telvtarget TITLE... (one window per title). It ends
// when one of its windows is closed.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "TargetWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) {
    fputs("Usage: telvtarget TITLE...\n", stderr);
    return 2;
  }
  std::vector<std::unique_ptr<TargetWindow>> windows;
  for (int i = 1; i < __argc; ++i) {
    windows.push_back(std::make_unique<TargetWindow>());
    if (!windows.back()->Create(__argv[i], i - 1)) {
      fprintf(stderr, "telvtarget: cannot create \"%s\", error %lu\n", __argv[i], GetLastError());
      return 1;
    }
  }
  MSG message;
  BOOL result;
  while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return result < 0 ? 1 : 0;
}
