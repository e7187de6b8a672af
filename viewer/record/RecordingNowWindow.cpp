#include "viewer/record/RecordingNowWindow.h"

#include <commctrl.h>

#include "core/geometry/PanelCompanionPlacement.h"
#include "viewer/record/RecordResource.h"
#include "viewer/record/RecordTimePicker.h"
#include "viewer/ScreenAreas.h"
#include "win/LocalNow.h"

RecordingNowWindow::RecordingNowWindow(RecordingNowHost& host)
    : Dialog(IDD_RECORDING_NOW), host(host) {}

RecordingNowWindow::~RecordingNowWindow() { Close(); }

bool RecordingNowWindow::Open(HWND owner, const std::string& path, const RecordingClock& planned) {
  Close();
  panel = owner;
  filePath = path;
  clock = planned;
  begunAt.reset();
  if (!Create(owner)) return false;
  if (parked) ShowWindow(hwnd, SW_HIDE);
  return true;
}

void RecordingNowWindow::SetParked(bool isParked) {
  parked = isParked;
  if (hwnd != nullptr) ShowWindow(hwnd, parked ? SW_HIDE : SW_SHOWNOACTIVATE);
}

void RecordingNowWindow::Close() {
  if (hwnd == nullptr) return;
  KillTimer(hwnd, kClockTimer);
  KillTimer(hwnd, kStartWatchTimer);
  DestroyWindow(hwnd);
}

INT_PTR RecordingNowWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_TIMER:
      if (wParam == kClockTimer) OnSecond();
      if (wParam == kStartWatchTimer) OnStartWatch();
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_NOW_PICKER && header->code == DTN_DATETIMECHANGE) {
        OnAddTimePicked();
      }
      return FALSE;
    }
    case WM_MOVING:
      return OnMoving(lParam);
    case WM_NCHITTEST: {
      // Dragged by any point of its client area.
      const LRESULT hit = DefWindowProcA(hwnd, WM_NCHITTEST, wParam, lParam);
      SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, hit == HTCLIENT ? HTCAPTION : hit);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

INT_PTR RecordingNowWindow::OnInitDialog() {
  updating = true;
  SetItemText(IDC_NOW_FILE, filePath);
  PrepareTimePicker(Item(IDC_NOW_PICKER));
  SetTimePicker(Item(IDC_NOW_PICKER), clock.StopTime());
  PrepareSpin(Item(IDC_NOW_HOURS_SPIN), 23);
  PrepareSpin(Item(IDC_NOW_MINUTES_SPIN), 59);
  SendMessageA(Item(IDC_NOW_PROGRESS), PBM_SETRANGE32, 0, 100);
  SetItemText(IDC_NOW_ELAPSED, clock.ElapsedText());
  updating = false;
  ShowPlan();
  // Beside the control panel, wholly inside the work area of its display.
  RECT panelRect{};
  RECT ownRect{};
  if (panel != nullptr && GetWindowRect(panel, &panelRect) && GetWindowRect(hwnd, &ownRect)) {
    const Size own{ownRect.right - ownRect.left, ownRect.bottom - ownRect.top};
    const Rect place = PlaceBesidePanel(ToRect(panelRect), own, WorkAreaOf(panel));
    SetWindowPos(hwnd, nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetTimer(hwnd, kClockTimer, 1000, nullptr);
  if (host.RecordingHasBegun() || SetTimer(hwnd, kStartWatchTimer, kStartWatchMs, nullptr) == 0) {
    begunAt = GetTickCount64();  // begun already, or no timer to watch with: count from now
  }
  return FALSE;  // the panel keeps the focus
}

// The window meets an edge of the work area it comes within ten pixels of,
// with its outer border, as the control panel does.
INT_PTR RecordingNowWindow::OnMoving(LPARAM lParam) {
  auto* proposed = reinterpret_cast<RECT*>(lParam);
  *proposed = ToRECT(SnapToWorkArea(ToRect(*proposed), PrimaryWorkArea(), 0));
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

INT_PTR RecordingNowWindow::OnCommand(int id, int code) {
  switch (id) {
    case IDC_NOW_STOP:
      KillTimer(hwnd, kClockTimer);
      KillTimer(hwnd, kStartWatchTimer);
      host.OnRecordingStop(false);
      return TRUE;
    case IDC_NOW_CHANGE:
      AddTime(ClockSpan{SpinValue(Item(IDC_NOW_HOURS_SPIN)), SpinValue(Item(IDC_NOW_MINUTES_SPIN))});
      return TRUE;
    case IDC_NOW_HOURS:
    case IDC_NOW_MINUTES:
      if (code == EN_CHANGE) OnAddSpansChanged();
      return TRUE;
    default:
      return FALSE;
  }
}

// The recorder begins with the first picture where decoding may start,
// which comes a moment after the graphs run: until then nothing is
// recorded and the elapsed time stays at zero.
void RecordingNowWindow::OnStartWatch() {
  if (begunAt || !host.RecordingHasBegun()) return;
  begunAt = GetTickCount64();
  KillTimer(hwnd, kStartWatchTimer);
}

void RecordingNowWindow::OnSecond() {
  // The seconds since the recording began, to the nearest: the timer's
  // ticks come a little early or late. The stop time is checked either way.
  const long long recorded =
      begunAt ? static_cast<long long>((GetTickCount64() - *begunAt + 500) / 1000) : 0;
  const bool timeUp = clock.Tick(LocalNow(), recorded);
  SetItemText(IDC_NOW_ELAPSED, clock.ElapsedText());
  SendMessageA(Item(IDC_NOW_PROGRESS), PBM_SETPOS, clock.Progress(), 0);
  if (!timeUp) return;
  KillTimer(hwnd, kClockTimer);
  host.OnRecordingStop(true);
}

void RecordingNowWindow::AddTime(const ClockSpan& span) {
  if (span.IsZero() || hwnd == nullptr) return;
  clock.AddTime(span);
  ShowPlan();
  updating = true;
  SetSpin(Item(IDC_NOW_HOURS_SPIN), 0);
  SetSpin(Item(IDC_NOW_MINUTES_SPIN), 0);
  SetTimePicker(Item(IDC_NOW_PICKER), clock.StopTime());
  updating = false;
}

// A picked time: the hours and minutes to add to reach it.
void RecordingNowWindow::OnAddTimePicked() {
  if (updating) return;
  const CivilTime picked = TimePickerTime(Item(IDC_NOW_PICKER));
  const CivilTime& stop = clock.StopTime();
  const ClockSpan span = AddedUntil(stop.hour, stop.minute, picked.hour, picked.minute);
  updating = true;
  SetSpin(Item(IDC_NOW_HOURS_SPIN), span.hours);
  SetSpin(Item(IDC_NOW_MINUTES_SPIN), span.minutes);
  updating = false;
}

// Hours and minutes to add: the picker shows where the stop time would go.
void RecordingNowWindow::OnAddSpansChanged() {
  if (updating) return;
  const ClockSpan span{SpinValue(Item(IDC_NOW_HOURS_SPIN)), SpinValue(Item(IDC_NOW_MINUTES_SPIN))};
  updating = true;
  SetTimePicker(Item(IDC_NOW_PICKER), StopTimeAfter(clock.StopTime(), span));
  updating = false;
}

void RecordingNowWindow::ShowPlan() {
  SetItemText(IDC_NOW_STOP_AT, clock.StopText());
  SetItemText(IDC_NOW_DURATION, clock.DurationText());
}
