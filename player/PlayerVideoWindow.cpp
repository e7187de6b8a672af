#include "player/PlayerVideoWindow.h"

#include <windowsx.h>

#include "core/geometry/VideoWindowGeometry.h"
#include "core/protocol/ProgramProtocol.h"
#include "win/WorkArea.h"

namespace {
constexpr UINT_PTR kCursorTimer = 1;
constexpr UINT kCursorPeriod = 1000;
constexpr int kIdleTicksToHide = 3;
constexpr int kMaxWidth = 4000;
constexpr int kMaxHeight = 2500;
}  // namespace

bool PlayerVideoWindow::Create() {
  return Window::Create("TelvantisPlayVideoWindow", ProgramProtocol::kPlayerVideoTitle,
                        WS_POPUP | WS_THICKFRAME, 646, 366, nullptr, nullptr, WS_EX_TOOLWINDOW);
}

LRESULT PlayerVideoWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_ERASEBKGND:
      return 1;  // painting fills what the renderer does not
    case WM_DISPLAYCHANGE:
      host.OnDisplayModeChanged();
      return 0;
    case WM_SIZE:
      host.OnVideoResized();
      return 0;
    case WM_SIZING:
      return OnSizing(wParam, lParam);
    case WM_MOVING:
      return OnMoving(lParam);
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMaxSize = POINT{kMaxWidth, kMaxHeight};
      info->ptMaxTrackSize = POINT{kMaxWidth, kMaxHeight};
      return 0;
    }
    case WM_NCHITTEST: {
      const LRESULT hit = DefaultHandling(message, wParam, lParam);
      return hit == HTCLIENT && !host.IsFullScreen() ? HTCAPTION : hit;
    }
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
      host.OnVideoCommand(32771);  // the full-screen toggle
      return 0;
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      // A click is activity: the idle seconds that raise the picture over
      // the panel count again from here.
      idleTicks = 0;
      host.OnVideoRightClick();
      return 0;
    case WM_COMMAND:
      host.OnVideoCommand(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      host.OnVideoClosed();
      return 0;
    case WM_SETCURSOR:
      KillTimer(hwnd, kCursorTimer);
      if (!cursorShown) {
        ShowCursor(TRUE);
        cursorShown = true;
      }
      idleTicks = 0;
      SetTimer(hwnd, kCursorTimer, kCursorPeriod, nullptr);
      return DefaultHandling(message, wParam, lParam);
    case WM_TIMER:
      if (wParam == kCursorTimer) OnCursorTimer();
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void PlayerVideoWindow::StopCursorTimer() {
  if (hwnd != nullptr) KillTimer(hwnd, kCursorTimer);
  idleTicks = 0;
  if (cursorShown) return;
  ShowCursor(TRUE);
  cursorShown = true;
}

// Counts idle seconds while the cursor is over the picture itself; over a
// window above it (the panel, in full screen) it counts nothing.
void PlayerVideoWindow::OnCursorTimer() {
  POINT cursor{};
  GetCursorPos(&cursor);
  if (GetAncestor(WindowFromPoint(cursor), GA_ROOT) != hwnd) {
    KillTimer(hwnd, kCursorTimer);
    return;
  }
  if (++idleTicks < kIdleTicksToHide) return;
  KillTimer(hwnd, kCursorTimer);
  idleTicks = 0;
  if (cursorHiding && cursorShown) {
    ShowCursor(FALSE);
    cursorShown = false;
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

LRESULT PlayerVideoWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (!host.RepaintVideo(hwnd, dc)) FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  EndPaint(hwnd, &paint);
  return 0;
}

LRESULT PlayerVideoWindow::OnSizing(WPARAM edge, LPARAM lParam) {
  auto* proposed = reinterpret_cast<RECT*>(lParam);
  const Rect current = WindowRect();
  const Rect sized = host.SizedVideoRect({proposed->left, proposed->top, proposed->right, proposed->bottom},
                                         current, edge == WMSZ_BOTTOM);
  *proposed = RECT{sized.left, sized.top, sized.right, sized.bottom};
  return TRUE;
}

// The picture meets an edge of the work area it comes within ten pixels of;
// the frame lies beyond it.
LRESULT PlayerVideoWindow::OnMoving(LPARAM lParam) {
  auto* proposed = reinterpret_cast<RECT*>(lParam);
  const Rect snapped = SnapToWorkArea({proposed->left, proposed->top, proposed->right, proposed->bottom},
                                      PrimaryWorkArea(), kVideoFrame);
  *proposed = RECT{snapped.left, snapped.top, snapped.right, snapped.bottom};
  return TRUE;
}

void PlayerVideoWindow::Place(const Rect& r) {
  SetWindowPos(hwnd, nullptr, r.left, r.top, r.Width(), r.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

Rect PlayerVideoWindow::WindowRect() const {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void PlayerVideoWindow::SetTopMost(bool on) {
  topMost = on;
  SetWindowPos(hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
