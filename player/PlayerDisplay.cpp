// The video window's display rules: the size probe, picture placement,
// aspect, full screen, the window menu and the move between displays.
#include <cstdio>

#include "core/geometry/FullScreenPlacement.h"
#include "core/geometry/VideoWindowGeometry.h"
#include "graph/GraphMessageBox.h"
#include "player/PlayerDialog.h"
#include "player/PlayerTexts.h"
#include "player/PlayerWindowRules.h"
#include "player/resource.h"
#include "win/InterfaceIds.h"

namespace {
constexpr UINT kSizePeriod = 500;

Rect VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
          top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}
}  // namespace

// Timer 1: the picture is re-fitted and its size shown on the first ticks
// after a file is opened, and later whenever its size changes.
void PlayerDialog::OnSizeTimer() {
  if (!sizeProbe.Tick(graph.renderer.ReportedNativeSize())) return;
  PlacePicture();
  const Size native = graph.renderer.NativeSize();
  SetItemText(IDC_VIDEO_SIZE, SizeText(native.width, native.height));
}

void PlayerDialog::PlacePicture() {
  if (!graph.renderer.HasControl()) return;
  if (!stopped) {
    ShowGraphMessages(graph.renderer.SetVideoPosition(video.Handle(), config.aspectMode, overscan));
    return;
  }
  // Stopped: the last picture stays where the window now wants it.
  Microsoft::WRL::ComPtr<IVMRWindowlessControl> control;
  if (!graph.videoRenderer || FAILED(graph.videoRenderer.As(&control))) return;
  RECT client{};
  GetClientRect(video.Handle(), &client);
  const auto placed = ::PlacePicture(config.aspectMode, {client.right, client.bottom},
                                     graph.renderer.NativeSize(), overscan, true);
  RECT destination{placed.destination.left, placed.destination.top, placed.destination.right,
                   placed.destination.bottom};
  control->SetVideoPosition(nullptr, &destination);  // not shown when refused
  // No new frame comes to show it there: the window repaints the last one.
  InvalidateRect(video.Handle(), nullptr, FALSE);
}

Size PlayerDialog::DisplaySize() const {
  if (!config.primaryDisplay && graph.renderer.HasSecondaryMonitor()) {
    return graph.renderer.SecondaryMonitorSize();
  }
  return screen;
}

Rect PlayerDialog::FullScreenTarget() const {
  return FullScreenRect(config.primaryDisplay, screen, graph.renderer.SecondaryMonitorSize(),
                        VirtualScreen());
}

void PlayerDialog::ToggleFullScreen() {
  if (!fullScreen) {
    restore = video.WindowRect();
    fullScreen = true;
    video.Place(FullScreenTarget());
  } else {
    fullScreen = false;
    video.Place(AspectFitted(restore, config.aspectMode));
  }
}

// A window that was full screen at exit comes back at the full-screen size
// (wherever the desktop put it); once a file is open it is full screen
// again.
void PlayerDialog::EnterSavedFullScreen() {
  if (fullScreen || !HasFullScreenSize(video.WindowRect(), FullScreenTarget())) return;
  fullScreen = true;
  video.Place(FullScreenTarget());
}

void PlayerDialog::ToggleAspect() {
  config.aspectMode =
      config.aspectMode == AspectMode::Ratio4x3 ? AspectMode::Ratio16x9 : AspectMode::Ratio4x3;
  if (!fullScreen) {
    video.Place(AspectFitted(video.WindowRect(), config.aspectMode));
  } else {
    PlacePicture();
  }
}

Rect PlayerDialog::SizedVideoRect(const Rect& proposed, const Rect& current, bool bottomEdge) {
  return BottomEdgeSized(proposed, current, bottomEdge, config.aspectMode);
}

void PlayerDialog::ShowWindowMenu() {
  const bool wide = config.aspectMode != AspectMode::Ratio4x3;
  const Rect window = video.WindowRect();
  const Size display = DisplaySize();
  const std::vector<Size> sizes = WindowMenuSizes(config.aspectMode, display);
  char text[64];
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, wide ? "ASPECT RATIO: 16:9" : "ASPECT RATIO: 4:3");
  AppendMenuA(menu, MF_STRING, IDM_ASPECT_16X9, "   16:9");
  AppendMenuA(menu, MF_STRING, IDM_ASPECT_4X3, "   4:3");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  std::snprintf(text, sizeof text, "WINDOW SIZE: %i X %i", window.Width() - 6, window.Height() - 6);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, text);
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    std::snprintf(text, sizeof text, "   %i X %i", sizes[i].width, sizes[i].height);
    AppendMenuA(menu, MF_STRING, IDM_SIZE_FIRST + static_cast<UINT>(i), text);
  }
  std::snprintf(text, sizeof text, "   %i X %i FULLSCREEN", display.width, display.height);
  AppendMenuA(menu, MF_STRING | (fullScreen ? MF_GRAYED : 0), IDM_SIZE_FULL, text);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0,
              video.TopMost() ? "ALWAYS ON TOP: ON" : "ALWAYS ON TOP: OFF");
  AppendMenuA(menu, MF_STRING, IDM_TOP_ON, "   ON");
  AppendMenuA(menu, MF_STRING, IDM_TOP_OFF, "   OFF");
  if (graph.renderer.HasSecondaryMonitor()) {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 0,
                config.primaryDisplay ? "DISPLAY: PRIMARY" : "DISPLAY: SECONDARY");
    AppendMenuA(menu, MF_STRING, IDM_PRIMARY, "   PRIMARY");
    AppendMenuA(menu, MF_STRING, IDM_SECONDARY, "   SECONDARY");
  }
  const int chosen = PopupAtCursor(menu);
  if ((chosen == IDM_ASPECT_16X9 && !wide) || (chosen == IDM_ASPECT_4X3 && wide)) {
    ToggleAspect();
  } else if (chosen >= IDM_SIZE_FIRST && chosen < IDM_SIZE_FIRST + static_cast<int>(sizes.size())) {
    const Rect from = fullScreen ? restore : window;
    fullScreen = false;
    restore = WindowForPicture(from.left, from.top, sizes[static_cast<size_t>(chosen - IDM_SIZE_FIRST)]);
    video.Place(restore);
  } else if (chosen == IDM_SIZE_FULL) {
    if (!fullScreen) ToggleFullScreen();
    SetWindowPos(video.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  } else if ((chosen == IDM_TOP_ON) != video.TopMost() && (chosen == IDM_TOP_ON || chosen == IDM_TOP_OFF)) {
    video.SetTopMost(chosen == IDM_TOP_ON);
  } else if ((chosen == IDM_PRIMARY && !config.primaryDisplay) ||
             (chosen == IDM_SECONDARY && config.primaryDisplay)) {
    SwitchDisplay();
  }
}

// The remote's display switch (and the window menu's): both windows move to
// the other display and the renderer follows.
void PlayerDialog::SwitchDisplay() {
  KillTimer(hwnd, kSizeTimer);
  RECT panel{};
  GetWindowRect(hwnd, &panel);
  if (config.primaryDisplay) {
    if (!graph.renderer.HasSecondaryMonitor()) {
      SetTimer(hwnd, kSizeTimer, kSizePeriod, nullptr);
      return;  // nowhere to go
    }
    const Rect before = video.WindowRect();
    beforeSwitch = WindowPlaces{before, panel.left, panel.top};
    const Rect second = SecondaryDisplayRect(screen, graph.renderer.SecondaryMonitorSize(), VirtualScreen());
    if (fullScreen) {
      const Rect full = FullScreenRect(false, screen, graph.renderer.SecondaryMonitorSize(), VirtualScreen());
      video.Place(full);
      restore = {full.left, full.top, full.right - 320, full.bottom - 180};
    } else {
      video.Place({second.left - 3, second.top - 3, second.left - 3 + before.Width(),
                   second.top - 3 + before.Height()});
    }
    SetWindowPos(hwnd, nullptr, second.left + 50, second.bottom - 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(video.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    config.primaryDisplay = false;
  } else {
    RECT client{};
    GetClientRect(hwnd, &client);
    const WindowPlaces back = BackFromSecondary(beforeSwitch, DefaultPlayConfig(screen, client.right));
    fullScreen = false;
    video.Place(back.video);
    SetWindowPos(hwnd, nullptr, back.panelLeft, back.panelTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    config.primaryDisplay = true;
  }
  // The renderer's change of display pauses and runs the graph around it
  // only while it plays: a stopped or paused player stays so.
  graph.renderer.SelectMonitor(config.primaryDisplay, stopped || paused ? nullptr : graph.control.Get());
  sizeProbe.Start();
  SetTimer(hwnd, kSizeTimer, kSizePeriod, nullptr);
  const int skip = config.skipBackSeconds;
  config.skipBackSeconds = 5;
  SeekTo(SkipBackTarget(Position(), config.skipBackSeconds));
  config.skipBackSeconds = skip;
}
