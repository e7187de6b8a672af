// telvmsgwatch TITLE FILE: opens a small window titled TITLE (the title the
// recorders look for) and appends one line to FILE for each registered
// message that arrives: "START/STOP <wParam> <lParam>" for "TELVANTISSR
// START/STOP" and "SHUTDOWN <wParam> <lParam>" for "TELVANTISSCHED SHUTDOWN".
// It runs until the window is closed (WM_CLOSE).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

UINT startStop = 0;
UINT shutdownMessage = 0;
std::string outFile;

void Write(const char* name, WPARAM wParam, LPARAM lParam) {
  if (FILE* out = std::fopen(outFile.c_str(), "a")) {
    std::fprintf(out, "%s %lld %lld\n", name, static_cast<long long>(wParam),
                 static_cast<long long>(lParam));
    std::fclose(out);
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != 0 && message == startStop) {
    Write("START/STOP", wParam, lParam);
    return 0;
  }
  if (message != 0 && message == shutdownMessage) {
    Write("SHUTDOWN", wParam, lParam);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc != 3) {
    MessageBoxA(nullptr, "usage: telvmsgwatch TITLE FILE", "telvmsgwatch", MB_OK);
    return 2;
  }
  outFile = __argv[2];
  startStop = RegisterWindowMessageA("TELVANTISSR START/STOP");
  shutdownMessage = RegisterWindowMessageA("TELVANTISSCHED SHUTDOWN");
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "TelvMsgWatch";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  if (RegisterClassA(&windowClass) == 0) return 1;
  HWND window = CreateWindowA("TelvMsgWatch", __argv[1], WS_OVERLAPPEDWINDOW, 0, 0, 240, 80,
                              nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
