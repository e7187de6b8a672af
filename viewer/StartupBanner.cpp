#include "viewer/StartupBanner.h"

#include "viewer/resource.h"

StartupBanner::StartupBanner() : Dialog(IDD_BANNER) {}

INT_PTR StartupBanner::HandleMessage(UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

void StartupBanner::Show() {
  if (hwnd == nullptr && !Create(nullptr)) return;  // start-up goes on without it
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
}

void StartupBanner::Close() {
  if (hwnd == nullptr) return;
  ShowWindow(hwnd, SW_HIDE);
  DestroyWindow(hwnd);
}
