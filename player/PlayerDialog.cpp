#include "player/PlayerDialog.h"

#include <windows.h>
#include <commctrl.h>

#include <filesystem>

#include "core/files/FileNames.h"
#include "core/geometry/VideoWindowGeometry.h"
#include "player/PlayerAboutDialog.h"
#include "win/WorkArea.h"
#include "player/PlayerStartup.h"
#include "player/PlayerWindowRules.h"
#include "player/resource.h"

namespace {

struct ButtonIcon {
  int control;
  int icon;
};
constexpr ButtonIcon kButtonIcons[] = {
    {IDC_GO_START, IDI_GO_START},         {IDC_REWIND, IDI_REWIND},
    {IDC_SKIP_BACK, IDI_SKIP_BACK},       {IDC_PAUSE, IDI_PAUSE},
    {IDC_PLAY, IDI_PLAY},                 {IDC_SKIP_FORWARD, IDI_SKIP_FORWARD},
    {IDC_FAST_FORWARD, IDI_FAST_FORWARD}, {IDC_GO_END, IDI_GO_END},
    {IDC_STOP, IDI_STOP},                 {IDC_VOLUME_UP, IDI_VOLUME_UP},
    {IDC_VOLUME_DOWN, IDI_VOLUME_DOWN}};

}  // namespace

PlayerDialog::PlayerDialog(const PlayerVariant& variant, std::string commandLine)
    : Dialog(IDD_PLAYER), variant(variant), commandLine(std::move(commandLine)), video(*this) {}

PlayerDialog::~PlayerDialog() {
  if (hwnd != nullptr) DestroyWindow(hwnd);
}

INT_PTR PlayerDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case IDM_ABOUTBOX & 0xFFF0:
          if ((wParam & 0xFFFF) == IDM_ABOUTBOX) {
            PlayerAboutDialog(variant.aboutText).Run(hwnd);
            return TRUE;
          }
          break;
        case SC_MINIMIZE:
          ShowWindow(video.Handle(), SW_HIDE);
          break;
        case SC_RESTORE:
          ShowWindow(video.Handle(), SW_SHOWNOACTIVATE);
          break;
        default:
          break;
      }
      return FALSE;
    case WM_CLOSE:
      Exit();
      return TRUE;
    case WM_TIMER:
      if (wParam == kSizeTimer) OnSizeTimer();
      if (wParam == kPositionTimer) OnPositionTimer();
      return TRUE;
    case WM_HSCROLL:
      OnSlider(wParam);  // the slider is the panel's only scrolling control
      return TRUE;
    case WM_ACTIVATEAPP:
      // The picture rises with the player, just behind the panel: a right
      // click that raises the panel over a full-screen picture activates the
      // player, and the panel must stay on top of it.
      if (wParam && !video.TopMost()) {
        SetWindowPos(video.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      return FALSE;
    case WM_NCHITTEST: {
      // The panel is dragged by any point of its body.
      const LRESULT hit = DefWindowProcA(hwnd, message, wParam, lParam);
      SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, hit == HTCLIENT ? HTCAPTION : hit);
      return TRUE;
    }
    case WM_SETCURSOR:
      // Over the panel the cursor shows, and the picture (full screen
      // behind it) is not raised over it.
      video.StopCursorTimer();
      return FALSE;
    case WM_MOVING: {
      auto* proposed = reinterpret_cast<RECT*>(lParam);
      const Rect snapped = SnapToWorkArea(
          {proposed->left, proposed->top, proposed->right, proposed->bottom}, PrimaryWorkArea(), 0);
      *proposed = RECT{snapped.left, snapped.top, snapped.right, snapped.bottom};
      return TRUE;
    }
    case WM_APP + 10:
      SwitchDisplay();
      return TRUE;
    default:
      return FALSE;
  }
}

bool PlayerDialog::TranslateKeys(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || hwnd == nullptr ||
      accelerators == nullptr) {
    return false;
  }
  HWND videoWindow = video.Handle();
  if (videoWindow != nullptr && message.hwnd == videoWindow) {
    return TranslateAcceleratorA(videoWindow, accelerators, &message) != 0;
  }
  if (message.hwnd == hwnd || IsChild(hwnd, message.hwnd)) {
    return TranslateAcceleratorA(hwnd, accelerators, &message) != 0;
  }
  return false;
}

INT_PTR PlayerDialog::OnInitDialog() {
  SetWindowTextA(hwnd, variant.panelTitle);
  HMENU system = GetSystemMenu(hwnd, FALSE);
  if (system != nullptr) {
    AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(system, MF_STRING, IDM_ABOUTBOX, "&About TelvantisPlay...");
  }
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PLAYER));
  SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

  awake.Begin();
  screen = Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  video.Create();

  // Small icons: the buttons are smaller than a full-size icon, which would
  // spill over the buttons beside them.
  const int iconWidth = GetSystemMetrics(SM_CXSMICON);
  const int iconHeight = GetSystemMetrics(SM_CYSMICON);
  for (const ButtonIcon& button : kButtonIcons) {
    HICON buttonIcon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(button.icon), IMAGE_ICON,
                                                     iconWidth, iconHeight, LR_SHARED));
    SendDlgItemMessageA(hwnd, button.control, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(buttonIcon));
  }
  if (!variant.hasRateButtons) {
    ShowWindow(Item(IDC_FAST_FORWARD), SW_HIDE);
    ShowWindow(Item(IDC_REWIND), SW_HIDE);
  }
  if (!variant.hasProgramList) ShowWindow(Item(IDC_PROGRAM), SW_HIDE);
  EnableTransport(false);
  Enable({IDC_PLAY}, false);
  SendDlgItemMessageA(hwnd, IDC_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1000));
  SendDlgItemMessageA(hwnd, IDC_SLIDER, TBM_SETPOS, TRUE, 0);
  SendDlgItemMessageA(hwnd, IDC_SLIDER, TBM_SETPAGESIZE, 0, 100);

  RECT client{};
  GetClientRect(hwnd, &client);
  const PlayerStartup startup =
      ReadPlayerStartup(std::filesystem::current_path(), screen, client.right);
  config = startup.config;
  modelNumber = startup.modelNumber;
  overscan = startup.overscan;

  SetWindowPos(hwnd, nullptr, config.panelLeft, config.panelTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  video.Place(config.videoWindow);
  // A window saved in full screen leaves full screen for the first start's
  // window, not for a full-screen-wide one.
  restore = HasFullScreenSize(config.videoWindow, FullScreenTarget())
                ? DefaultPlayConfig(screen, client.right).videoWindow
                : config.videoWindow;

  accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  rates.Clear();

  const std::string path = CommandLinePath(commandLine);
  if (!path.empty()) OpenFile(path);
  return TRUE;
}

// EXIT, Q, Esc and closing either window: the graph goes, the settings are
// written, power state and screen saver are given back.
void PlayerDialog::Exit() {
  if (closed) return;
  closed = true;
  KillTimer(hwnd, kSizeTimer);
  KillTimer(hwnd, kPositionTimer);
  if (!noGraph) TearDownPlayback(graph);
  // Full screen too is written as it is, so the next start comes back to it.
  config.videoWindow = video.WindowRect();
  RECT panel{};
  GetWindowRect(hwnd, &panel);
  config.panelLeft = panel.left;
  config.panelTop = panel.top;
  WritePlayConfig(std::filesystem::current_path() / FileNames::kPlayConfig, config);
  awake.End();
  if (video.Handle() != nullptr) DestroyWindow(video.Handle());
  DestroyWindow(hwnd);
  PostQuitMessage(0);
}

bool PlayerDialog::RepaintVideo(HWND window, HDC dc) { return graph.renderer.Repaint(window, dc); }

// The renderer is told, as it asks to be; one that cannot follow the new
// mode goes on as it can, and the user has nothing to act on, so a failure
// is not shown.
void PlayerDialog::OnDisplayModeChanged() {
  if (!graph.renderer.HasControl()) return;
  if (FAILED(graph.renderer.DisplayModeChanged())) return;
  InvalidateRect(video.Handle(), nullptr, FALSE);  // repainted in the new mode
}

void PlayerDialog::OnVideoResized() {
  if (graph.renderer.HasControl()) PlacePicture();
}

void PlayerDialog::OnVideoCommand(int command) {
  switch (command) {
    case IDM_FULL_SCREEN:
      ToggleFullScreen();
      return;
    case IDC_GO_END:
      return;  // B does nothing in the video window
    case IDOK:
      PostMessageA(hwnd, WM_CLOSE, 0, 0);
      return;
    default:
      OnCommand(command, 0);
  }
}

void PlayerDialog::OnVideoClosed() { PostMessageA(hwnd, WM_CLOSE, 0, 0); }

void PlayerDialog::OnVideoRightClick() {
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
