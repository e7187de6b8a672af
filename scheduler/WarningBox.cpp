#include "scheduler/WarningBox.h"

#include "scheduler/resource.h"

WarningBox::WarningBox(std::string text) : Dialog(IDD_WARNING), text(std::move(text)) {}

void WarningBox::Open(const std::string& text) {
  auto* box = new WarningBox(text);
  if (!box->Create(nullptr)) delete box;  // no box: the event goes on without the warning
}

INT_PTR WarningBox::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      // The texts break lines with a bare line feed; a static control wants CR LF.
      std::string shown;
      for (char c : text) {
        if (c == '\n') shown += '\r';
        shown += c;
      }
      SetItemText(IDC_WARNING_TEXT, shown);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(hwnd);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return TRUE;
    case WM_NCDESTROY:
      // The base clears its handle after this returns; the object goes now.
      SetWindowLongPtrA(hwnd, DWLP_USER, 0);
      delete this;
      return FALSE;
    default:
      return FALSE;
  }
}
