#include "viewer/ViewerDialog.h"

#include <windowsx.h>

#include <cstdio>

#include "win/AboutDialog.h"
#include "core/tuning/SignalPercent.h"
#include "viewer/resource.h"

namespace {

constexpr int kSignalTicks = 16;  // eight seconds
constexpr int kOsdTicks = 6;      // three seconds
constexpr COLORREF kGroupCaptionColour = 0xFF0000;

bool IsGroupCaption(int id) {
  return id == IDC_GROUP_CHANNEL || id == IDC_GROUP_VOLUME || id == IDC_GROUP_TIMESHIFT ||
         id == IDC_GROUP_RECORD;
}

}  // namespace

ViewerDialog::ViewerDialog() : Dialog(IDD_VIEWER), video(*this) {}

// After a failed start-up the panel is still there, hidden.
ViewerDialog::~ViewerDialog() {
  if (hwnd != nullptr) DestroyWindow(hwnd);
}

INT_PTR ViewerDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam));
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam);
    case WM_CLOSE:
      OnExit();  // closing the panel is "EXIT"
      return TRUE;
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NCHITTEST:
      return OnHitTest(lParam);
    default:
      if (schedulerCommands.Handle(message, session, *this)) {
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      return FALSE;
  }
}

bool ViewerDialog::TranslateKeys(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || hwnd == nullptr) {
    return false;
  }
  HWND videoWindow = video.Handle();
  if (videoWindow != nullptr && videoAccelerators != nullptr &&
      (message.hwnd == videoWindow || IsChild(videoWindow, message.hwnd))) {
    return TranslateAcceleratorA(videoWindow, videoAccelerators, &message) != 0;
  }
  if (accelerators != nullptr && (message.hwnd == hwnd || IsChild(hwnd, message.hwnd))) {
    return TranslateAcceleratorA(hwnd, accelerators, &message) != 0;
  }
  return false;
}

INT_PTR ViewerDialog::OnCommand(int id) {
  switch (id) {
    case IDOK:
      OnExit();
      return TRUE;
    case IDCANCEL:
      OnCancel();
      return TRUE;
    case IDC_SETUP:
      OpenSetup(false);
      return TRUE;
    case IDC_SCHEDULE:
      OpenSetup(true);
      return TRUE;
    case IDC_MUTE:
      ToggleMute();
      return TRUE;
    default:
      return FALSE;
  }
}

void ViewerDialog::OpenSetup(bool onSchedule) { setup.Open(hwnd, onSchedule); }

INT_PTR ViewerDialog::OnSysCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case IDM_ABOUTBOX: {
      AboutDialog about(IDD_ABOUTBOX);
      about.Run(hwnd);
      return TRUE;
    }
    case SC_MINIMIZE:
      osd.Hide();
      ShowWindow(video.Handle(), SW_HIDE);
      if (session.MuteForMinimise()) ToggleMute();
      osd.Hide();
      break;
    case SC_RESTORE:
      ShowWindow(video.Handle(), SW_RESTORE);
      if (session.UnmuteForRestore()) ToggleMute();
      osd.Hide();
      break;
    default:
      break;
  }
  return FALSE;  // then the default handling
}

// Silences or restores the program's own sound renderer; the system's
// volume is left alone.
void ViewerDialog::ToggleMute() {
  const std::optional<bool> muted = engine.ToggleMute();
  if (!muted) return;
  session.SetMuted(*muted);
  if (session.Settings().displayVolume) ShowOsdText(*muted ? "MUTE: ON" : "MUTE: OFF");
}

INT_PTR ViewerDialog::OnTimer(UINT_PTR id) {
  if (id == kSignalTimer) OnSignalTimer();
  if (id == kOsdTimer) OnOsdTimer();
  return TRUE;
}

// Every half second for eight seconds after a start or a channel change:
// re-fit the picture, show its size and the signal strength.
void ViewerDialog::OnSignalTimer() {
  if (++signalTicks >= kSignalTicks) {
    KillTimer(hwnd, kSignalTimer);
    signalTicks = 0;
    return;
  }
  FitVideo();
  const Size native = engine.NativeVideoSize();
  char text[64];
  std::snprintf(text, sizeof text, "%i X %i", native.width, native.height);
  SetItemText(IDC_VIDEO_SIZE, text);
  if (const std::optional<long> strength = engine.SignalStrength()) {
    std::snprintf(text, sizeof text, "%i%%", SignalPercent(SignalScaleOf(session.ModelRow()), *strength));
    SetItemText(IDC_SIGNAL, text);
  }
}

void ViewerDialog::OnOsdTimer() {
  if (osdTicks >= kOsdTicks) {
    KillTimer(hwnd, kOsdTimer);
    osd.Hide();
    osdTicks = 0;
  } else {
    ++osdTicks;
  }
}

void ViewerDialog::ShowOsdText(const std::string& text) {
  HWND foreground = GetForegroundWindow();
  KillTimer(hwnd, kOsdTimer);
  osdTicks = 0;
  RECT videoRect{};
  GetWindowRect(video.Handle(), &videoRect);
  osd.ShowText(text, videoRect, session.Settings().displayTransparent);
  SetTimer(hwnd, kOsdTimer, kTimerPeriod, nullptr);
  ++osdTicks;
  if (foreground == hwnd || foreground == video.Handle()) BringWindowToTop(foreground);
}

void ViewerDialog::ShowChannelOsd() {
  const ChannelEntry* channel = session.CurrentChannel();
  if (!session.Settings().displayChannelNumber || channel == nullptr) return;
  ShowOsdText(ChannelCaption(*channel));
}

INT_PTR ViewerDialog::OnControlColour(HDC dc, HWND control) {
  if (!IsGroupCaption(GetDlgCtrlID(control))) return FALSE;
  SetTextColor(dc, kGroupCaptionColour);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

// The panel can be dragged by any point of its client area.
INT_PTR ViewerDialog::OnHitTest(LPARAM lParam) {
  const LRESULT hit = DefWindowProcA(hwnd, WM_NCHITTEST, 0, lParam);
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, hit == HTCLIENT ? HTCAPTION : hit);
  return TRUE;
}

void ViewerDialog::EnableItems(std::initializer_list<int> ids, bool enable) {
  for (int id : ids) EnableWindow(Item(id), enable ? TRUE : FALSE);
}

// Fits the picture into the video window for the aspect mode and overscan.
void ViewerDialog::FitVideo() {
  const ViewerConfig& c = session.Settings();
  // A failure has shown its own message.
  engine.SetVideoPosition(video.Handle(), c.aspectMode, c.overscan);
}

void ViewerDialog::OnVideoResized() {
  if (!engine.HasVideo()) return;
  FitVideo();
  osd.Hide();
}

bool ViewerDialog::RepaintVideo(HWND videoWindow, HDC dc) {
  return engine.RepaintVideo(videoWindow, dc);
}

bool ViewerDialog::IsFullScreen() const { return session.Settings().fullScreen; }

void ViewerDialog::OnVideoCommand(int command) {
  if (command == IDOK) {
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return;
  }
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
}

void ViewerDialog::OnVideoClosed() { PostMessageA(hwnd, WM_CLOSE, 0, 0); }
