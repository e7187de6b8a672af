#include "viewer/VideoWindow.h"

#include <windowsx.h>

#include "core/geometry/VideoWindowGeometry.h"
#include "viewer/ScreenAreas.h"
#include "viewer/resource.h"

namespace {

constexpr int kMaxWidth = 4000;
constexpr int kMaxHeight = 2500;

SizingEdge EdgeOf(WPARAM edge) {
  switch (edge) {
    case WMSZ_LEFT: return SizingEdge::Left;
    case WMSZ_RIGHT: return SizingEdge::Right;
    case WMSZ_TOP: return SizingEdge::Top;
    case WMSZ_TOPLEFT: return SizingEdge::TopLeft;
    case WMSZ_TOPRIGHT: return SizingEdge::TopRight;
    case WMSZ_BOTTOMLEFT: return SizingEdge::BottomLeft;
    case WMSZ_BOTTOMRIGHT: return SizingEdge::BottomRight;
    default: return SizingEdge::Bottom;
  }
}

}  // namespace

VideoWindow::VideoWindow(VideoWindowHost& host) : Dialog(IDD_VIDEO), host(host) {}

INT_PTR VideoWindow::Result(LRESULT value) {
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, value);
  return TRUE;
}

INT_PTR VideoWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return FALSE;
    case WM_PAINT:
      return OnPaint();
    case WM_ERASEBKGND:
      return Result(1);  // OnPaint fills what the renderer does not
    case WM_DISPLAYCHANGE:
      host.OnDisplayModeChanged();
      return TRUE;
    case WM_SIZE:
      host.OnVideoResized();
      return TRUE;
    case WM_SIZING:
      return OnSizing(wParam, lParam);
    case WM_MOVING:
      return OnMoving(lParam);
    case WM_NCHITTEST:
      return OnHitTest(lParam);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(lParam);
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
      return Mouse(VideoMouse::LeftDoubleClick, message == WM_NCLBUTTONDBLCLK);
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
      host.OnVideoMouse(VideoMouse::LeftDown, message == WM_NCLBUTTONDOWN);
      return FALSE;  // the default handling drags the window
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      return Mouse(VideoMouse::RightDown, message == WM_NCRBUTTONDOWN);
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK:
      return Mouse(VideoMouse::RightDoubleClick, message == WM_NCRBUTTONDBLCLK);
    case WM_XBUTTONDOWN:
    case WM_NCXBUTTONDOWN:
      return OnSideButton(wParam, message == WM_NCXBUTTONDOWN);
    case WM_SETCURSOR:
      return OnSetCursor();
    case WM_TIMER:
      return wParam == kCursorTimer ? OnCursorTimer() : FALSE;
    case WM_COMMAND:
      host.OnVideoCommand(LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      host.OnVideoClosed();
      return TRUE;
    default:
      return FALSE;
  }
}

void VideoWindow::Place(int left, int top, int width, int height, bool topMost) {
  SetWindowPos(hwnd, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, left, top, width, height,
               SWP_SHOWWINDOW);
}

void VideoWindow::Place(const Rect& r, bool topMost) {
  Place(r.left, r.top, r.Width(), r.Height(), topMost);
}

Rect VideoWindow::WindowRect() const {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

INT_PTR VideoWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (!host.RepaintVideo(hwnd, dc)) {
    FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  }
  EndPaint(hwnd, &paint);
  return TRUE;
}

// Outside full screen the picture works as a caption: dragging it moves the
// window. The 3-pixel frame keeps its sizing borders.
INT_PTR VideoWindow::OnHitTest(LPARAM lParam) {
  const LRESULT hit = DefWindowProcA(hwnd, WM_NCHITTEST, 0, lParam);
  return Result(hit == HTCLIENT && !host.IsFullScreen() ? HTCAPTION : hit);
}

INT_PTR VideoWindow::OnGetMinMaxInfo(LPARAM lParam) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  info->ptMaxSize = POINT{kMaxWidth, kMaxHeight};
  info->ptMaxTrackSize = POINT{kMaxWidth, kMaxHeight};
  return Result(0);
}

INT_PTR VideoWindow::OnSizing(WPARAM edge, LPARAM lParam) {
  const std::optional<AspectMode> locked = host.ResizeLock();
  if (!locked) return FALSE;
  auto* proposed = reinterpret_cast<RECT*>(lParam);
  const Rect r = LockedResizeRect(WindowRect(), ToRect(*proposed), EdgeOf(edge), *locked);
  *proposed = ToRECT(r);
  return Result(TRUE);
}

// The picture meets an edge of the work area it comes within ten pixels
// of; the frame lies beyond it.
INT_PTR VideoWindow::OnMoving(LPARAM lParam) {
  auto* proposed = reinterpret_cast<RECT*>(lParam);
  *proposed = ToRECT(SnapToWorkArea(ToRect(*proposed), PrimaryWorkArea(), kVideoFrame));
  return Result(TRUE);
}

INT_PTR VideoWindow::Mouse(VideoMouse action, bool onFrame) {
  host.OnVideoMouse(action, onFrame);
  return Result(0);
}

INT_PTR VideoWindow::OnSideButton(WPARAM wParam, bool onFrame) {
  const WORD button = GET_XBUTTON_WPARAM(wParam);
  if (button == XBUTTON1) host.OnVideoMouse(VideoMouse::SideButton1, onFrame);
  if (button == XBUTTON2) host.OnVideoMouse(VideoMouse::SideButton2, onFrame);
  return Result(TRUE);
}

INT_PTR VideoWindow::OnSetCursor() {
  KillTimer(hwnd, kCursorTimer);
  ShowCursorAgain();
  idleSeconds = 0;
  SetTimer(hwnd, kCursorTimer, kCursorPeriod, nullptr);
  return FALSE;  // the default handling sets the arrow
}

INT_PTR VideoWindow::OnCursorTimer() {
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT window{};
  GetWindowRect(hwnd, &window);
  if (!PtInRect(&window, cursor)) {
    KillTimer(hwnd, kCursorTimer);
    return TRUE;
  }
  if (++idleSeconds < kSecondsToHide) return TRUE;
  if (cursorVisible) {
    ShowCursor(FALSE);
    cursorVisible = false;
  }
  BringWindowToTop(hwnd);
  host.OnVideoCursorHidden();
  KillTimer(hwnd, kCursorTimer);
  idleSeconds = 0;
  return TRUE;
}

void VideoWindow::StopCursorTimer() {
  if (hwnd != nullptr) KillTimer(hwnd, kCursorTimer);
  ShowCursorAgain();
}

void VideoWindow::ShowCursorAgain() {
  if (cursorVisible) return;
  ShowCursor(TRUE);
  cursorVisible = true;
}
