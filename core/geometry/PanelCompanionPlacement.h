#pragma once

#include "core/geometry/Geometry.h"

// Where a window that belongs with the control panel opens (the "Recording
// Now" window): below the panel, its left edges aligned, when it fits there
// inside the work area; else above the panel when it fits there; else
// wherever the panel's place puts it, pushed back into the work area. The
// left edge is kept inside the work area too, so the whole window is on the
// screen whenever it is no larger than the work area; a larger one keeps its
// top-left corner in view.
Rect PlaceBesidePanel(const Rect& panel, Size window, const Rect& workArea);
