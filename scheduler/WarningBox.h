#pragma once

#include <string>

#include "win/Dialog.h"

// The modeless "SCHEDULER EVENT" box: one text and OK. Each warning opens a
// box of its own, which closes by OK or by a posted WM_CLOSE; a closed box is
// freed when the next one opens.
class WarningBox : public Dialog<WarningBox> {
 public:
  static void Open(const std::string& text);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  explicit WarningBox(std::string text);

  std::string text;
};
