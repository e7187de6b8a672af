#include "viewer/record/RecordDialog.h"

#include <commctrl.h>

#include "viewer/record/RecordResource.h"
#include "viewer/record/RecordTimePicker.h"
#include "win/LocalNow.h"

RecordDialog::RecordDialog() : Dialog(IDD_RECORD) {}

std::optional<RecordRequest> RecordDialog::Ask(HWND owner, const std::string& path) {
  filePath = path;
  if (Run(owner) != IDOK) return std::nullopt;
  return request;
}

INT_PTR RecordDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_RECORD_UNTIL && header->code == DTN_DATETIMECHANGE) {
        OnStopTimePicked();
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

INT_PTR RecordDialog::OnInitDialog() {
  updating = true;
  PrepareTimePicker(Item(IDC_RECORD_UNTIL));
  SetTimePicker(Item(IDC_RECORD_UNTIL), LocalNow());
  PrepareSpin(Item(IDC_RECORD_HOURS_SPIN), 23);
  PrepareSpin(Item(IDC_RECORD_MINUTES_SPIN), 59);
  SetItemText(IDC_RECORD_FILE, filePath);
  updating = false;
  return TRUE;
}

INT_PTR RecordDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDOK:
      OnRecord();
      return TRUE;
    case IDCANCEL:
      EndDialog(hwnd, IDCANCEL);
      return TRUE;
    case IDC_RECORD_HOURS:
    case IDC_RECORD_MINUTES:
      if (code == EN_CHANGE) OnSpansChanged();
      return TRUE;
    default:
      return FALSE;
  }
}

// A stop time: the duration from now to it, in the label and the spins.
void RecordDialog::OnStopTimePicked() {
  if (updating) return;
  const CivilTime now = LocalNow();
  const CivilTime picked = TimePickerTime(Item(IDC_RECORD_UNTIL));
  const ClockSpan span = DurationUntil(now.hour, now.minute, picked.hour, picked.minute);
  updating = true;
  SetSpin(Item(IDC_RECORD_HOURS_SPIN), span.hours);
  SetSpin(Item(IDC_RECORD_MINUTES_SPIN), span.minutes);
  updating = false;
  ShowDuration(span);
}

// Hours and minutes: the stop time that far from now, in the picker.
void RecordDialog::OnSpansChanged() {
  if (updating) return;
  const ClockSpan span = SpinSpan();
  updating = true;
  SetTimePicker(Item(IDC_RECORD_UNTIL), StopTimeAfter(LocalNow(), span));
  updating = false;
  ShowDuration(span);
}

void RecordDialog::ShowDuration(const ClockSpan& span) {
  SetItemText(IDC_RECORD_DURATION, DurationLabel(span));
}

ClockSpan RecordDialog::SpinSpan() const {
  return ClockSpan{SpinValue(Item(IDC_RECORD_HOURS_SPIN)),
                   SpinValue(Item(IDC_RECORD_MINUTES_SPIN))};
}

void RecordDialog::OnRecord() {
  const ClockSpan span = SpinSpan();
  if (span.IsZero()) {
    MessageBoxA(nullptr, "NO DURATION SPECIFIED", "", MB_OK);
    return;
  }
  request.duration = span;
  request.stop = StopTimeAfter(LocalNow(), span);
  EndDialog(hwnd, IDOK);
}
