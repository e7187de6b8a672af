#pragma once

#include "core/geometry/Geometry.h"

// Where the recorder's window goes: beside the taskbar, in the corner the
// notification area is in. Taskbar at the bottom: right edge of the screen,
// just above the taskbar; at the top: just below it; on the left: right of
// it at the bottom of the screen; on the right: left of it at the bottom.
struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

Point PlaceBesideTaskbar(const Rect& taskbar, Size screen, Size window);
