#pragma once

#include "core/geometry/Geometry.h"

// Where a video window goes in full screen. The window's 3-pixel frame hangs
// over every edge of the display, so the picture covers it exactly.

inline constexpr int kVideoFrame = 3;

// The second display's rectangle in screen coordinates, found from the
// virtual screen (system metrics 76 to 79) and the displays' sizes: at the
// virtual screen's origin when that is not (0, 0); below the primary
// display when the virtual screen is as wide as either display (stacked);
// else to the right of the primary display.
Rect SecondaryDisplayRect(Size primary, Size secondary, Rect virtualScreen);

// The full-screen window rectangle on the primary display or on the
// secondary one.
Rect FullScreenRect(bool onPrimary, Size primary, Size secondary, Rect virtualScreen);
