#include "viewer/setup/SignalWindow.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <string>

#include "viewer/setup/SetupResource.h"

namespace {

constexpr int kLabelPoints = 24;

}  // namespace

SignalWindow::SignalWindow(SetupHost& host, const TuningModel* model)
    : Dialog(IDD_SIGNAL), host(host), meter(model) {}

INT_PTR SignalWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_TIMER:
      if (wParam == kReadTimer) OnReadTimer();
      // Synchronous, as the system plays it: the next beep waits for this one.
      if (wParam == kBeepTimer) PlaySoundA("Default", nullptr, SND_ALIAS | SND_SYNC);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) Close();
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR SignalWindow::OnInitDialog() {
  HDC dc = GetDC(hwnd);
  const int height = -MulDiv(kLabelPoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(hwnd, dc);
  font.Reset(CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
  if (font) SendDlgItemMessageA(hwnd, IDC_SIGNAL_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
  SendDlgItemMessageA(hwnd, IDC_SIGNAL_BAR, PBM_SETRANGE32, 0, 100);
  SetTimer(hwnd, kReadTimer, kReadPeriodMs, nullptr);
  return TRUE;
}

void SignalWindow::OnReadTimer() {
  const std::optional<long> strength = host.SignalStrength();
  if (!strength) return;
  const SignalMeter::Reading reading = meter.Read(*strength);
  if (reading.range) {
    SendDlgItemMessageA(hwnd, IDC_SIGNAL_BAR, PBM_SETRANGE32, reading.range->lowest, reading.range->highest);
    SetItemText(IDC_SIGNAL_RANGE, "MIN: " + std::to_string(reading.range->lowest) +
                                      ", MAX: " + std::to_string(reading.range->highest));
  }
  if (reading.beepChanged) {
    KillTimer(hwnd, kBeepTimer);
    if (reading.beepPeriodMs) SetTimer(hwnd, kBeepTimer, static_cast<UINT>(*reading.beepPeriodMs), nullptr);
  }
  SendDlgItemMessageA(hwnd, IDC_SIGNAL_BAR, PBM_SETPOS, static_cast<WPARAM>(reading.percent), 0);
  SetItemText(IDC_SIGNAL_TEXT, "Signal Strength: " + std::to_string(reading.percent) + "%");
}

void SignalWindow::Close() {
  KillTimer(hwnd, kReadTimer);
  KillTimer(hwnd, kBeepTimer);
  EndDialog(hwnd, IDOK);
}
