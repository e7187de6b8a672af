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

ViewerDialog::~ViewerDialog() = default;

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

void ViewerDialog::OpenSetup(bool onSchedule) {
  setup.settings.openOnSchedule = onSchedule;
  setup.Run(hwnd);
  video.lockResize = setup.settings.lockResize;
}

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
      if (setup.settings.muteOnMinimise && !muted) {
        mutedByMinimise = true;
        ToggleMute();
      }
      osd.Hide();
      break;
    case SC_RESTORE:
      ShowWindow(video.Handle(), SW_RESTORE);
      if (mutedByMinimise) {
        mutedByMinimise = false;
        ToggleMute();
      }
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
  if (!engine || !engine->live.basicAudio) return;
  long volume = 0;
  if (FAILED(engine->live.basicAudio->get_Volume(&volume))) return;
  const bool mute = volume >= 0;
  if (FAILED(engine->live.basicAudio->put_Volume(mute ? -10000 : 0))) return;
  muted = mute;
  if (setup.settings.showVolume) ShowOsdText(muted ? "MUTE: ON" : "MUTE: OFF");
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
  if (!engine) return;
  engine->SetVideoPosition(video.Handle());  // a failure has shown its own message
  const Size native = engine->live.renderer.NativeSize();
  char text[64];
  std::snprintf(text, sizeof text, "%i X %i", native.width, native.height);
  SetItemText(IDC_VIDEO_SIZE, text);
  if (SUCCEEDED(engine->live.tuning.ReadSignalStrength())) {
    std::snprintf(text, sizeof text, "%i%%",
                  SignalPercent(engine->modelRow, engine->live.tuning.SignalStrength()));
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
  osd.ShowText(text, videoRect, setup.settings.transparentOsd);
  SetTimer(hwnd, kOsdTimer, kTimerPeriod, nullptr);
  ++osdTicks;
  if (foreground == hwnd || foreground == video.Handle()) BringWindowToTop(foreground);
}

void ViewerDialog::ShowChannelOsd() {
  if (!setup.settings.showChannel || !engine || engine->channels.empty()) return;
  ShowOsdText(ChannelCaption(engine->channels[static_cast<size_t>(engine->currentChannel)]));
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

void ViewerDialog::OnVideoResized() {
  if (!engine || !engine->live.renderer.HasControl()) return;
  engine->SetVideoPosition(video.Handle());
  osd.Hide();
}

bool ViewerDialog::RepaintVideo(HWND videoWindow, HDC dc) {
  return engine && engine->live.renderer.Repaint(videoWindow, dc);
}

void ViewerDialog::OnVideoCommand(int command) {
  if (command == IDOK) {
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return;
  }
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
}

void ViewerDialog::OnVideoClosed() { PostMessageA(hwnd, WM_CLOSE, 0, 0); }
