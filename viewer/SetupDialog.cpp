#include "viewer/SetupDialog.h"

#include <commctrl.h>

#include <array>

#include "viewer/resource.h"

namespace {

constexpr std::array<const char*, 6> kTabs{
    "Digital Tuners", "Display", "Audio", "Channel Setup", "Timeshift/Record Setup", "Schedule"};
constexpr int kScheduleTab = 5;

}  // namespace

SetupDialog::SetupDialog() : Dialog(IDD_SETUP) {}

INT_PTR SetupDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      // "OK" closes; Esc and the close box do not.
      if (LOWORD(wParam) == IDOK) {
        EndDialog(hwnd, IDOK);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

void SetupDialog::Open(HWND owner, bool onSchedule) {
  openOnSchedule = onSchedule;
  Run(owner);
}

INT_PTR SetupDialog::OnInitDialog() {
  HWND tabs = Item(IDC_SETUP_TABS);
  for (std::size_t i = 0; i < kTabs.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTabs[i]);
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  const int first = openOnSchedule ? kScheduleTab : 0;
  openOnSchedule = false;
  SendMessageA(tabs, TCM_SETCURSEL, first, 0);
  return TRUE;
}
