#pragma once
// The version banner shown while the live graph is being built.

#include "win/Dialog.h"

class StartupBanner : public Dialog<StartupBanner> {
 public:
  StartupBanner();
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Show();
  void Close();
};
