#include "viewer/ScreenAreas.h"

Rect WorkAreaOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor) ||
      (monitor.dwFlags & MONITORINFOF_PRIMARY) != 0) {
    return PrimaryWorkArea();
  }
  return ToRect(monitor.rcWork);
}

DisplayLayout CurrentDisplays(std::optional<Size> second) {
  DisplayLayout d;
  d.primary = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  d.second = second;
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  d.virtualScreen = {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  return d;
}

Rect NormalWindowRect(HWND window) {
  RECT r{};
  if (!IsIconic(window)) {
    GetWindowRect(window, &r);
    return ToRect(r);
  }
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return {};
  // The placement is in work-area coordinates: move it by the work area's
  // offset on its display.
  Rect normal = ToRect(placement.rcNormalPosition);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoA(MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTOPRIMARY),
                      &monitor)) {
    const int dx = monitor.rcWork.left - monitor.rcMonitor.left;
    const int dy = monitor.rcWork.top - monitor.rcMonitor.top;
    normal = {normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy};
  }
  return normal;
}
