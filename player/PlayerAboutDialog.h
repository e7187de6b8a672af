#pragma once
// The about box: one line naming the player and its version.

#include "player/resource.h"
#include "win/Dialog.h"

class PlayerAboutDialog : public Dialog<PlayerAboutDialog> {
 public:
  explicit PlayerAboutDialog(const char* text) : Dialog(IDD_ABOUTBOX), text(text) {}

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
      case WM_INITDIALOG:
        SetItemText(IDC_ABOUT_TEXT, text);
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
          EndDialog(hwnd, LOWORD(wParam));
          return TRUE;
        }
        return FALSE;
      default:
        return FALSE;
    }
  }

 private:
  const char* text;
};
