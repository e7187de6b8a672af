// telvplughost: plays the remote-control host for the plug-in tests. It loads
// a plug-in, optionally brings a window to the front first, calls one of the
// four exports and prints the value returned.
//
// Usage: telvplughost [--front TITLE] DLL CALL
//   CALL: keys (WhatKeysDoYouWant), enumerate (EnumerateProgrammableFunction),
//         focus (AreYouInFocus), key CODE TYPE (HandleKey)
// Exit status: 0 called (the value is on standard output); 1 failed; 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using NoArguments = int(__cdecl*)();
using HandleKeyCall = int(__cdecl*)(int, unsigned short, unsigned short);

constexpr DWORD kFrontWaitMs = 5000;
constexpr DWORD kPollMs = 50;
constexpr int kHostValue = 0x5A5A5A5A;  // the host's own value, which the plug-ins ignore

int Fail(const std::string& message) {
  fprintf(stderr, "telvplughost: %s\n", message.c_str());
  return 1;
}

int Usage() {
  fputs("Usage: telvplughost [--front TITLE] DLL keys|enumerate|focus|key CODE TYPE\n", stderr);
  return 2;
}

bool ParseCode(const char* text, unsigned short* value) {
  char* end = nullptr;
  const long number = std::strtol(text, &end, 0);
  if (*text == '\0' || *end != '\0' || number < 0 || number > 0xFFFF) return false;
  *value = static_cast<unsigned short>(number);
  return true;
}

// Brings the window to the front and waits until the system reports it
// there, so the plug-in sees what a user would have done.
bool BringToFront(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (window == nullptr) return false;
  if (!SetForegroundWindow(window)) return false;
  for (DWORD waited = 0; waited < kFrontWaitMs; waited += kPollMs) {
    if (GetForegroundWindow() == window) return true;
    Sleep(kPollMs);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  int next = 1;
  const char* front = nullptr;
  if (argc > 2 && std::string(argv[1]) == "--front") {
    front = argv[2];
    next = 3;
  }
  if (argc - next < 2) return Usage();
  const char* dll = argv[next];
  const std::string call = argv[next + 1];
  unsigned short code = 0, type = 0;
  if (call == "key") {
    if (argc - next != 4 || !ParseCode(argv[next + 2], &code) || !ParseCode(argv[next + 3], &type))
      return Usage();
  } else if (argc - next != 2 || (call != "keys" && call != "enumerate" && call != "focus")) {
    return Usage();
  }

  if (front != nullptr && !BringToFront(front))
    return Fail(std::string("cannot bring \"") + front + "\" to the front");

  HMODULE plugin = LoadLibraryA(dll);
  if (plugin == nullptr) return Fail(std::string("cannot load ") + dll + ", error " + std::to_string(GetLastError()));
  int result = 0;
  const char* exportName = call == "keys"        ? "WhatKeysDoYouWant"
                           : call == "enumerate" ? "EnumerateProgrammableFunction"
                           : call == "focus"     ? "AreYouInFocus"
                                                 : "HandleKey";
  FARPROC address = GetProcAddress(plugin, exportName);
  if (address == nullptr) {
    FreeLibrary(plugin);  // leaving anyway
    return Fail(std::string("no export ") + exportName);
  }
  if (call == "key") {
    result = reinterpret_cast<HandleKeyCall>(reinterpret_cast<void*>(address))(kHostValue, code, type);
  } else {
    result = reinterpret_cast<NoArguments>(reinterpret_cast<void*>(address))();
  }
  printf("%d\n", result);
  fflush(stdout);
  if (!FreeLibrary(plugin)) return Fail("cannot unload the plug-in");
  return 0;
}
