#pragma once
// "About Telvantis", opened from the control panel's system menu.

#include "Dialog.h"

class AboutDialog : public Dialog<AboutDialog> {
 public:
  AboutDialog();
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};
