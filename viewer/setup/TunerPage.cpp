#include "viewer/setup/TunerPage.h"

#include <string>
#include <vector>

#include "graph/GraphMessageBox.h"
#include "graph/GraphToolkit.h"
#include "viewer/setup/SetupResource.h"

TunerPage::TunerPage(ViewerSession& session) : Dialog(IDD_SETUP_TUNER), session(session) {}

INT_PTR TunerPage::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_TUNER_CHANGE) return FALSE;
      ChangeTuner();
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR TunerPage::OnInitDialog() {
  if (const TuningModel* row = session.ModelRow()) {
    SetItemText(IDC_TUNER_CURRENT, SetupDisplayName(*row));
  }
  std::vector<std::string> devices;
  ShowGraphMessages(EnumerateTunerDevices(&devices));
  for (const std::string& name : devices) {
    SendDlgItemMessageA(hwnd, IDC_TUNER_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendDlgItemMessageA(hwnd, IDC_TUNER_LIST, CB_SETCURSEL, 0, 0);
  return TRUE;
}

// The chosen device's model (by the same detection as at start) becomes the
// model of the next start. A device the catalogue does not know changes
// nothing.
void TunerPage::ChangeTuner() {
  const auto index = SendDlgItemMessageA(hwnd, IDC_TUNER_LIST, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  const auto length = SendDlgItemMessageA(hwnd, IDC_TUNER_LIST, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return;
  std::string name(static_cast<std::size_t>(length) + 1, '\0');
  SendDlgItemMessageA(hwnd, IDC_TUNER_LIST, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()));
  name.resize(static_cast<std::size_t>(length));
  const std::optional<int> model = DetectModel(name);
  if (!model) return;
  session.SelectModel(*model);
  if (const std::optional<TuningModel> row = FindTuningModel(*model, std::nullopt)) {
    SetItemText(IDC_TUNER_SELECTED, SetupDisplayName(*row));
  }
}
