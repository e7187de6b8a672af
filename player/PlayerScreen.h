#pragma once
// The primary display's work area as the shell reports it, for the players'
// windows to snap to.

#include "core/geometry/Geometry.h"

// The primary display less the taskbar.
Rect PrimaryWorkArea();
