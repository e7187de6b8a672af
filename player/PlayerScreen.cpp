#include "player/PlayerScreen.h"

#include <windows.h>
#include <shellapi.h>

#include "core/geometry/VideoWindowGeometry.h"

namespace {

ScreenEdge EdgeOf(UINT edge) {
  switch (edge) {
    case ABE_LEFT: return ScreenEdge::Left;
    case ABE_TOP: return ScreenEdge::Top;
    case ABE_RIGHT: return ScreenEdge::Right;
    default: return ScreenEdge::Bottom;
  }
}

}  // namespace

Rect PrimaryWorkArea() {
  const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar) == 0) return WorkArea(screen, std::nullopt);
  return WorkArea(screen, Taskbar{{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom}, EdgeOf(bar.uEdge)});
}
