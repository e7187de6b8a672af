#include "TargetWindow.h"

#include <cstdio>

namespace {

constexpr char kClassName[] = "TelvantisTarget";
constexpr char kLogFile[] = "targets.log";
constexpr UINT kRemoteCommand = WM_APP + 10;

}  // namespace

bool TargetWindow::Create(const std::string& windowTitle, int index) {
  title = windowTitle;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  if (!GetClassInfoA(instance, kClassName, &windowClass)) {
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return false;
  }
  if (CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 40 + 60 * index,
                      40 + 60 * index, 360, 160, nullptr, nullptr, instance, this) == nullptr)
    return false;
  ShowWindow(hwnd, SW_SHOW);  // returns the previous visibility, not an error
  return true;
}

LRESULT CALLBACK TargetWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TargetWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<TargetWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TargetWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT TargetWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam >= 'A' && wParam <= 'Z') {
        Log(title + ": KEY " + static_cast<char>(wParam) + (lParam != 0 ? " LPARAM" : ""));
      } else {
        Log(title + ": KEY #" + std::to_string(wParam));
      }
      return 0;
    case kRemoteCommand:
      Log(title + ": REMOTE " + std::to_string(static_cast<long long>(static_cast<INT_PTR>(wParam))) + " " +
          std::to_string(static_cast<long long>(lParam)));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void TargetWindow::Log(const std::string& line) const {
  FILE* log = fopen(kLogFile, "a");
  bool written = log != nullptr && fprintf(log, "%s\n", line.c_str()) > 0;
  if (log != nullptr && fclose(log) != 0) written = false;
  if (!written) OutputDebugStringA("telvtarget: cannot write targets.log\n");
}
