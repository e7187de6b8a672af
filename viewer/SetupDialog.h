#pragma once
// "Telvantis Setup": a modal window with its tabs and an "OK" button, the
// only way to close it. The setup object lives for the whole run and keeps
// the viewer's options.

#include "win/Dialog.h"
#include "viewer/ViewerSettings.h"

class SetupDialog : public Dialog<SetupDialog> {
 public:
  SetupDialog();
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  ViewerSettings settings;

 private:
  INT_PTR OnInitDialog();
};
