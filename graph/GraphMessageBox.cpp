#include "graph/GraphMessageBox.h"

#include <windows.h>

namespace {

void ShowGraphMessage(const GraphMessage& message) {
  switch (message.style) {
    case BoxStyle::Exclamation:
      MessageBoxA(nullptr, message.text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
      break;
    case BoxStyle::ErrorCaption:
      MessageBoxA(nullptr, message.text.c_str(), "Error", MB_OK);
      break;
    case BoxStyle::Plain:
      MessageBoxA(nullptr, message.text.c_str(), "", MB_OK);
      break;
  }
}

}  // namespace

void ShowGraphMessages(const GraphOutcome& outcome) {
  for (const GraphMessage& message : outcome.messages) ShowGraphMessage(message);
}
