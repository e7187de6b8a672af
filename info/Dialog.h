// A modal dialog base: DialogBoxParam hands the object to the dialog
// procedure, which keeps it from WM_INITDIALOG on and forwards every message
// to Derived::HandleMessage (TRUE when handled, as a dialog procedure does).
#pragma once

#include <windows.h>

#include <string>

template <class Derived>
class Dialog {
 public:
  explicit Dialog(int resourceId) : resourceId(resourceId) {}

  // Runs the dialog; the value given to EndDialog, or -1 when it cannot be
  // created.
  INT_PTR Run(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), owner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
  }

 protected:
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }

  bool SetItemText(int id, const std::string& text) const {
    return SetDlgItemTextA(hwnd, id, text.c_str()) != FALSE;
  }

  HWND hwnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_INITDIALOG) {
      self = static_cast<Derived*>(reinterpret_cast<Dialog*>(lParam));
      self->hwnd = hwnd;
      SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) return FALSE;
    return self->HandleMessage(message, wParam, lParam);
  }

  int resourceId;
};
