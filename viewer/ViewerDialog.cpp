#include "viewer/ViewerDialog.h"

#include <windowsx.h>

#include <cstdio>
#include <ctime>

#include "core/protocol/RemoteMessage.h"
#include "core/tuning/SignalPercent.h"
#include "viewer/resource.h"
#include "viewer/setup/SignalWindow.h"

namespace {

constexpr int kSignalTicks = 16;  // eight seconds
constexpr int kOsdTicks = 6;      // three seconds
constexpr COLORREF kGroupCaptionColour = 0xFF0000;

bool IsGroupCaption(int id) {
  return id == IDC_GROUP_CHANNEL || id == IDC_GROUP_VOLUME || id == IDC_GROUP_TIMESHIFT ||
         id == IDC_GROUP_RECORD;
}

}  // namespace

ViewerDialog::ViewerDialog() : Dialog(IDD_VIEWER), video(*this), setup(session, *this) {}

// After a failed start-up the panel is still there, hidden.
ViewerDialog::~ViewerDialog() {
  if (hwnd != nullptr) DestroyWindow(hwnd);
}

INT_PTR ViewerDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      // The timeshift and record groups answer their own commands.
      if (transport.OnCommand(LOWORD(wParam), HIWORD(wParam))) return TRUE;
      // Clicks (buttons, labels, menus) and keys; not the labels' other
      // notices, such as being enabled or disabled.
      if (HIWORD(wParam) > 1) return FALSE;
      return OnCommand(LOWORD(wParam));
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam);
    case WM_CLOSE:
      // The close box, Alt+F4, the taskbar and the scheduler's close all
      // save the settings as "EXIT" does: nothing of the user's is lost.
      OnExit();
      return TRUE;
    case kPlaybackEventMessage:
      transport.OnPlaybackEvent();
      return TRUE;
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NCHITTEST:
      return OnHitTest(lParam);
    case WM_MOVING:
      return OnMoving(lParam);
    case WM_ACTIVATEAPP:
      return OnActivateApp(wParam != FALSE);
    case WM_SETCURSOR:
      video.StopCursorTimer();
      return FALSE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      panelActive = true;
      return FALSE;
    case WM_XBUTTONDOWN:
    case WM_NCXBUTTONDOWN:
      return OnSideButton(wParam);
    case kRemoteCommandMessage:
      return OnRemoteCommand(wParam, lParam);
    default:
      if (guide.HandleMessage(message, wParam, lParam)) return TRUE;
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
  if (guide.TranslateKeys(message)) return true;
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

INT_PTR ViewerDialog::OnTimer(UINT_PTR id) {
  if (transport.OnTimer(id)) return TRUE;  // timers 4 to 7
  switch (id) {
    case kSignalTimer:
      OnSignalTimer();
      return TRUE;
    case kGuideTimer:
      OnGuideTimer();
      return TRUE;
    case kOsdTimer:
      OnOsdTimer();
      return TRUE;
    case kDigitTimer:
      OnDigitTimer();
      return TRUE;
    default:
      return FALSE;
  }
}

void ViewerDialog::StartTimers() {
  SetTimer(hwnd, kSignalTimer, kTimerPeriod, nullptr);
  SetTimer(hwnd, kOsdTimer, kTimerPeriod, nullptr);
}

void ViewerDialog::KillTimers() {
  KillTimer(hwnd, kSignalTimer);
  KillTimer(hwnd, kOsdTimer);
}

void ViewerDialog::RestartCaptionTimer() {
  KillTimer(hwnd, kOsdTimer);
  osdTicks = 0;
  SetTimer(hwnd, kOsdTimer, kTimerPeriod, nullptr);
}

void ViewerDialog::RestartSignalTimer() {
  KillTimer(hwnd, kSignalTimer);
  signalTicks = 0;
  SetTimer(hwnd, kSignalTimer, kTimerPeriod, nullptr);
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

// The renderer is told, as it asks to be; one that cannot follow the new
// mode goes on as it can, and the user has nothing to act on, so a failure
// is not shown.
void ViewerDialog::OnDisplayModeChanged() {
  if (!engine.HasVideo()) return;
  if (FAILED(engine.DisplayModeChanged())) return;
  InvalidateRect(video.Handle(), nullptr, FALSE);  // repainted in the new mode
}

bool ViewerDialog::IsFullScreen() const { return session.Settings().fullScreen; }

std::optional<AspectMode> ViewerDialog::ResizeLock() const {
  const ViewerConfig& c = session.Settings();
  if (!c.lockResize || c.fullScreen) return std::nullopt;
  return c.aspectMode;
}

void ViewerDialog::OnVideoClosed() { PostMessageA(hwnd, WM_CLOSE, 0, 0); }

// The setup window's channel tab tunes what the user dialled.
bool ViewerDialog::TuneDialled(const TuneValues& channel, const std::string& caption) {
  if (ShowChannelHeld()) return false;
  KillTimer(hwnd, kSignalTimer);
  SetItemText(IDC_CHANNEL_DISPLAY, caption);
  engine.TuneChannel(channel);  // a failure has shown its message
  signalTicks = 0;
  SetTimer(hwnd, kSignalTimer, kTimerPeriod, nullptr);
  return true;
}

std::optional<long> ViewerDialog::SignalStrength() { return engine.SignalStrength(); }

// The panel's signal timer would read the stopped live graph: it waits for
// the scan to end.
bool ViewerDialog::StopLiveForScan() {
  if (ShowChannelHeld()) return false;
  if (session.Timeshifting()) {
    ShowOsdText("TIMESHIFT");
    return false;
  }
  KillTimer(hwnd, kSignalTimer);
  engine.StopLive();  // a graph that does not stop keeps its tuner; the scan reports what it finds
  return true;
}

void ViewerDialog::RestartLiveAfterScan() {
  engine.RestartLive();  // a failed tune has shown its message
  signalTicks = 0;
  SetTimer(hwnd, kSignalTimer, kTimerPeriod, nullptr);
}

void ViewerDialog::TakeGuide(const std::vector<GuideProgramme>& programmes) { guideStore.TakeGuide(programmes); }

// The guide of the tuned station is merged in and its tables' PIDs mapped as
// they become known; the guide window and the series follow.
void ViewerDialog::OnGuideTimer() {
  const auto now = static_cast<std::int64_t>(std::time(nullptr));
  guideStore.PollBroadcast(now);
  engine.MapGuidePids(guideStore.WantedPids());
  guide.OnTimer(now);
}

void ViewerDialog::EnableChannelControls(bool enable) {
  EnableItems({IDC_CHANNEL_UP, IDC_CHANNEL_DOWN, IDC_RECALL, IDC_CHANNEL_DISPLAY, IDC_SIGNAL,
               IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_MUTE},
              enable);
}

void ViewerDialog::OpenSignalWindow() {
  SignalWindow signal(*this, session.ModelRow());
  signal.Run(hwnd);
}

void ViewerDialog::ApplySettings() {
  if (engine.HasVideo()) FitVideo();  // overscan may have changed
}

void ViewerDialog::OnVideoCursorHidden() { panelActive = false; }
