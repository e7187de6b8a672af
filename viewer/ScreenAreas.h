#pragma once
// The displays and the work area as the system reports them, and the
// conversions between its rectangles and ours.

#include <windows.h>

#include "core/geometry/Geometry.h"
#include "core/geometry/VideoWindowGeometry.h"
#include "win/WorkArea.h"

inline Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The work area of the display that holds most of `window` (the nearest
// one when it is on none): on the primary display the one above, on another
// display what the system reports for it.
Rect WorkAreaOf(HWND window);

// The primary display, the virtual desktop, and the second display the
// renderer found (none when it found none).
DisplayLayout CurrentDisplays(std::optional<Size> second);

// A window's rectangle as it is when not minimised: a minimised window
// reports a place far off screen, which must never be saved.
Rect NormalWindowRect(HWND window);
