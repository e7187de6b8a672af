// The about box, opened from the system menu.
#pragma once

#include "Dialog.h"

class AboutDialog : public Dialog<AboutDialog> {
 public:
  AboutDialog();
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};
