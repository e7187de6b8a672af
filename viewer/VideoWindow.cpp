#include "viewer/VideoWindow.h"

#include <windowsx.h>

#include "viewer/resource.h"

namespace {
constexpr int kMaxWidth = 4000;
constexpr int kMaxHeight = 2500;
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
    case WM_SIZE:
      host.OnVideoResized();
      return TRUE;
    case WM_NCHITTEST:
      return OnHitTest(lParam);
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(lParam);
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
