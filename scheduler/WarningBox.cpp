#include "scheduler/WarningBox.h"

#include <memory>
#include <vector>

#include "scheduler/resource.h"

WarningBox::WarningBox(std::string text) : Dialog(IDD_WARNING), text(std::move(text)) {}

namespace {

// The boxes of this run; a closed box (no window any more) is freed when the
// next one opens, never from its own window procedure, which still uses it.
std::vector<std::unique_ptr<WarningBox>>& Boxes() {
  static std::vector<std::unique_ptr<WarningBox>> boxes;
  return boxes;
}

}  // namespace

void WarningBox::Open(const std::string& text) {
  auto& boxes = Boxes();
  std::erase_if(boxes, [](const auto& box) { return box->Handle() == nullptr; });
  std::unique_ptr<WarningBox> box(new WarningBox(text));
  // No box: the event goes on without the warning.
  if (box->Create(nullptr)) boxes.push_back(std::move(box));
}

INT_PTR WarningBox::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      // The texts break lines with a bare line feed; a static control wants CR LF.
      std::string shown;
      for (char c : text) {
        if (c == '\n') shown += '\r';
        shown += c;
      }
      SetItemText(IDC_WARNING_TEXT, shown);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(hwnd);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return TRUE;
    default:
      return FALSE;
  }
}
