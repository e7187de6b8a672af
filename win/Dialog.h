// A dialog base for resource-script dialogs, modal or modeless. The dialog
// procedure keeps the object from WM_INITDIALOG on and forwards every message
// to Derived::HandleMessage, which returns TRUE when it handled the message,
// as a dialog procedure does.
#pragma once

#include <windows.h>

#include <string>

template <class Derived>
class Dialog {
 public:
  explicit Dialog(int resourceId) : resourceId(resourceId) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; the value given to EndDialog, or -1 when it
  // cannot be created.
  INT_PTR Run(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), owner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
  }

  // Creates the dialog modelessly; false when it cannot be created.
  bool Create(HWND parent) {
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), parent,
                              DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
  }

  HWND Handle() const { return hwnd; }

 protected:
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }

  bool SetItemText(int id, const std::string& text) const {
    return SetDlgItemTextA(hwnd, id, text.c_str()) != FALSE;
  }

  std::string ItemText(int id) const {
    char text[256] = {};
    GetDlgItemTextA(hwnd, id, text, static_cast<int>(sizeof text));
    return text;
  }

  HWND hwnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_INITDIALOG) {
      self = static_cast<Derived*>(reinterpret_cast<Dialog*>(lParam));
      self->hwnd = hwnd;
      // The derived object's own address: with more than one base class the
      // Dialog part need not start it.
      SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr) return FALSE;
    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) self->hwnd = nullptr;
    return result;
  }

  int resourceId;
};
