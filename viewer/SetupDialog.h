#pragma once
// "Telvantis Setup": a modal window with its tabs and an "OK" button, the
// only way to close it.

#include "win/Dialog.h"

class SetupDialog : public Dialog<SetupDialog> {
 public:
  SetupDialog();
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Shows the window modally on its first tab, or on "Schedule".
  void Open(HWND owner, bool onSchedule);

 private:
  INT_PTR OnInitDialog();

  bool openOnSchedule = false;
};
