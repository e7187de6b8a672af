#pragma once
// A popup menu built item by item and shown at the cursor; the panel's
// label menus use it. Items are numbered from 1 in the order added, and
// Track returns the number chosen (0 when the menu was dismissed).

#include <windows.h>

#include <string>

#include "win/UniqueHandle.h"

class PopupMenu {
 public:
  PopupMenu() : menu(CreatePopupMenu()) {}

  // A greyed line that names what the items below it set.
  void Title(const std::string& text) { Add(text, false); }
  int Item(const std::string& text, bool enabled = true) { return Add(text, enabled); }
  void Separator() { AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr); }

  int Track(HWND owner) {
    POINT cursor{};
    GetCursorPos(&cursor);
    // The menu closes when the user clicks elsewhere only if its owner is
    // in the foreground.
    SetForegroundWindow(owner);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x,
                       cursor.y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    return chosen;
  }

 private:
  int Add(const std::string& text, bool enabled) {
    const int id = next++;
    AppendMenuA(menu.Get(), MF_STRING | (enabled ? 0 : MF_GRAYED), static_cast<UINT_PTR>(id),
                text.c_str());
    return id;
  }

  UniqueHmenu menu;
  int next = 1;
};
