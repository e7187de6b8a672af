// The video window's display modes (full screen, aspect, window sizes,
// always on top, primary or secondary display) and the places of both
// windows: parking the panel, edge snapping, activation, minimise and
// restore.
#include <cstdio>

#include "win/AboutDialog.h"
#include "core/geometry/VideoWindowGeometry.h"
#include "viewer/PopupMenu.h"
#include "viewer/ScreenAreas.h"
#include "viewer/ViewerDialog.h"
#include "viewer/resource.h"

namespace {

// Off every screen: where the panel waits while parked.
constexpr int kParkedPosition = 4500;

std::string SizeText(const char* format, Size size) {
  char text[64];
  std::snprintf(text, sizeof text, format, size.width, size.height);
  return text;
}

AspectMode Other(AspectMode aspect) {
  return aspect == AspectMode::Ratio4x3 ? AspectMode::Ratio16x9 : AspectMode::Ratio4x3;
}

}  // namespace

DisplayLayout ViewerDialog::Displays() const {
  return CurrentDisplays(engine.SecondDisplaySize());
}

void ViewerDialog::PlaceVideo(const Rect& rect) {
  video.Place(rect, session.Settings().alwaysOnTop);
}

void ViewerDialog::ToggleFullScreen() {
  if (session.Settings().fullScreen) {
    LeaveFullScreen();
  } else {
    EnterFullScreen();
  }
}

void ViewerDialog::EnterFullScreen() {
  ViewerConfig& c = session.Settings();
  c.fullScreen = true;
  video.SetRestoreRect(video.WindowRect());
  PlaceVideo(FullScreenRect(Displays(), c.fullScreenOnPrimary));
  // Placed as "not top-most", a window keeps its place in the z-order: the
  // picture is brought to the top itself, over the panel and every other
  // normal window. A top-most picture is there already.
  if (!c.alwaysOnTop) {
    SetWindowPos(video.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// Back to the corner and width saved on entry, the height following the
// width for the aspect in force.
void ViewerDialog::LeaveFullScreen() {
  ViewerConfig& c = session.Settings();
  c.fullScreen = false;
  PlaceVideo(LeaveFullScreenRect(video.RestoreRect(), c.aspectMode));
}

void ViewerDialog::ToggleAspect() { SetAspect(Other(session.Settings().aspectMode)); }

// Outside full screen the picture keeps its width and the window its
// corner; in full screen only the picture is re-fitted.
void ViewerDialog::SetAspect(AspectMode aspect) {
  ViewerConfig& c = session.Settings();
  c.aspectMode = aspect;
  if (!c.fullScreen) {
    const Rect window = video.WindowRect();
    PlaceVideo(WindowForPicture(window.left, window.top, window.Width() - 2 * kVideoFrame, aspect));
  }
  FitVideo();
}

void ViewerDialog::SetAlwaysOnTop(bool on) {
  ViewerConfig& c = session.Settings();
  if (c.alwaysOnTop == on) return;
  c.alwaysOnTop = on;
  SetWindowPos(video.Handle(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A size from the menu: full screen ends, the window takes the size at the
// restore position (or where it stands), and that becomes the restore
// rectangle.
void ViewerDialog::ChooseWindowSize(Size picture) {
  ViewerConfig& c = session.Settings();
  Rect from = video.WindowRect();
  if (c.fullScreen) {
    c.fullScreen = false;
    from = video.RestoreRect();
  }
  const Rect rect = WindowForPicture(from.left, from.top, picture);
  PlaceVideo(rect);
  video.SetRestoreRect(rect);
}

void ViewerDialog::ShowWindowMenu() {
  const ViewerConfig& c = session.Settings();
  const DisplayLayout displays = Displays();
  const Size target = TargetDisplaySize(displays, c.fullScreenOnPrimary);
  const Rect window = video.WindowRect();
  const bool fourThree = c.aspectMode == AspectMode::Ratio4x3;

  PopupMenu menu;
  menu.Title(fourThree ? "ASPECT RATIO: 4:3" : "ASPECT RATIO: 16:9");
  const int wide = menu.Item("   16:9");
  const int narrow = menu.Item("   4:3");
  menu.Separator();
  menu.Title(SizeText("WINDOW SIZE: %i X %i", {window.Width() - 2 * kVideoFrame,
                                               window.Height() - 2 * kVideoFrame}));
  const std::vector<Size> sizes = WindowSizeChoices(c.aspectMode, target);
  int firstSize = 0;
  for (const Size& size : sizes) {
    const int id = menu.Item(SizeText("   %i X %i", size));
    if (firstSize == 0) firstSize = id;
  }
  const int full = menu.Item(SizeText("   %i X %i FULLSCREEN", target), !c.fullScreen);
  menu.Separator();
  menu.Title(std::string("ALWAYS ON TOP: ") + (c.alwaysOnTop ? "ON" : "OFF"));
  const int topOn = menu.Item("   ON");
  const int topOff = menu.Item("   OFF");
  int primary = -1;
  int secondary = -1;
  if (displays.second) {
    menu.Separator();
    menu.Title(std::string("DISPLAY: ") + (c.fullScreenOnPrimary ? "PRIMARY" : "SECONDARY"));
    // A recording or the timeshift keeps the renderer where it is.
    const bool free = !session.Recording() && !session.Timeshifting();
    primary = menu.Item("   PRIMARY", free);
    secondary = menu.Item("   SECONDARY", free);
  }

  const int chosen = menu.Track(hwnd);
  if (chosen == 0) return;
  if (chosen == wide && fourThree) {
    SetAspect(AspectMode::Ratio16x9);
  } else if (chosen == narrow && !fourThree) {
    SetAspect(AspectMode::Ratio4x3);
  } else if (firstSize != 0 && chosen >= firstSize &&
             chosen < firstSize + static_cast<int>(sizes.size())) {
    ChooseWindowSize(sizes[static_cast<std::size_t>(chosen - firstSize)]);
  } else if (chosen == full) {
    EnterFullScreen();
  } else if (chosen == topOn || chosen == topOff) {
    SetAlwaysOnTop(chosen == topOn);
  } else if ((chosen == primary && !c.fullScreenOnPrimary) ||
             (chosen == secondary && c.fullScreenOnPrimary)) {
    MoveToDisplay(chosen == primary);
  }
}

// Moves the video window (in full screen: and its size) and the panel to
// the primary or the second display, and the renderer with them.
void ViewerDialog::MoveToDisplay(bool toPrimary) {
  ViewerConfig& c = session.Settings();
  KillTimers();
  const DisplaySwitchPlaces places =
      SwitchDisplay(Displays(), toPrimary, video.WindowRect(), c.fullScreen);
  PlaceVideo(places.video);
  SetWindowPos(hwnd, nullptr, places.panelLeft, places.panelTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (places.restore) video.SetRestoreRect(*places.restore);
  BringWindowToTop(video.Handle());
  c.fullScreenOnPrimary = toPrimary;
  engine.SelectRendererMonitor(toPrimary);
  StartTimers();
}

// The remote control's display switch: to the other display, when there
// is one.
void ViewerDialog::ToggleDisplay() {
  if (!engine.SecondDisplaySize()) return;
  MoveToDisplay(!session.Settings().fullScreenOnPrimary);
}

// A right double click on the picture parks the panel off screen, or
// brings it back where it stood.
void ViewerDialog::ToggleParking() {
  if (panelVisible) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    panelSaved = ToRect(r);
    SetWindowPos(hwnd, nullptr, kParkedPosition, kParkedPosition, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    panelVisible = false;
    transport.SetPanelParked(true);
  } else {
    SetWindowPos(hwnd, nullptr, panelSaved.left, panelSaved.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    panelVisible = true;
    transport.SetPanelParked(false);
  }
}

// The panel meets an edge of the work area it comes within ten pixels of.
INT_PTR ViewerDialog::OnMoving(LPARAM lParam) {
  auto* proposed = reinterpret_cast<RECT*>(lParam);
  *proposed = ToRECT(SnapToWorkArea(ToRect(*proposed), PrimaryWorkArea(), 0));
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

// On activation the video window rises just behind the panel, unless it is
// always on top anyway.
INT_PTR ViewerDialog::OnActivateApp(bool active) {
  if (!active || phase != Phase::Open || video.Handle() == nullptr) return FALSE;
  if (!session.Settings().alwaysOnTop) {
    SetWindowPos(video.Handle(), HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(video.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  BringWindowToTop(hwnd);
  panelActive = true;
  return FALSE;
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
