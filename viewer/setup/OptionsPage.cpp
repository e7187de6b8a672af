#include "viewer/setup/OptionsPage.h"

OptionsPage::OptionsPage(int dialogId, ViewerConfig& settings, std::vector<Binding> bindings)
    : Dialog(dialogId), settings(settings), bindings(std::move(bindings)) {}

INT_PTR OptionsPage::HandleMessage(UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  for (const auto& [box, flag] : bindings) {
    CheckDlgButton(hwnd, box, settings.*flag ? BST_CHECKED : BST_UNCHECKED);
  }
  return TRUE;
}

void OptionsPage::Commit() {
  for (const auto& [box, flag] : bindings) {
    settings.*flag = IsDlgButtonChecked(hwnd, box) == BST_CHECKED;
  }
}
