// A plain about box: a dialog template of the program's own resources that
// OK or Esc closes.
#pragma once

#include "win/Dialog.h"

class AboutDialog : public Dialog<AboutDialog> {
 public:
  explicit AboutDialog(int dialogId) : Dialog(dialogId) {}

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
      case WM_INITDIALOG:
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
          EndDialog(hwnd, LOWORD(wParam));  // fails only for a dialog already gone
          return TRUE;
        }
        return FALSE;
      default:
        return FALSE;
    }
  }
};
