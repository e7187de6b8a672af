#pragma once
// The primary display's work area as the shell reports it, for the
// programs' windows to snap to.

#include <windows.h>
#include <shellapi.h>

#include "core/geometry/VideoWindowGeometry.h"

// The primary display less the taskbar; the whole display when the shell
// reports no taskbar.
inline Rect PrimaryWorkArea() {
  const Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar) == 0) return WorkArea(screen, std::nullopt);
  ScreenEdge edge = ScreenEdge::Bottom;
  switch (bar.uEdge) {
    case ABE_LEFT: edge = ScreenEdge::Left; break;
    case ABE_TOP: edge = ScreenEdge::Top; break;
    case ABE_RIGHT: edge = ScreenEdge::Right; break;
    default: break;
  }
  return WorkArea(screen, Taskbar{{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom}, edge});
}
