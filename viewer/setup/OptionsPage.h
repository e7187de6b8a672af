#pragma once
// The "Display" and "Audio" tabs: check boxes bound to the viewer's
// settings. They are loaded when the window opens and act only after "OK".

#include <utility>
#include <vector>

#include "core/files/ViewerConfig.h"
#include "win/Dialog.h"

class OptionsPage : public Dialog<OptionsPage> {
 public:
  // Each check box and the setting it shows.
  using Binding = std::pair<int, bool ViewerConfig::*>;

  OptionsPage(int dialogId, ViewerConfig& settings, std::vector<Binding> bindings);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // "OK": the check boxes go back into the settings.
  void Commit();

 private:
  ViewerConfig& settings;
  std::vector<Binding> bindings;
};
