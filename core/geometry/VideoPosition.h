#pragma once

#include "core/geometry/Geometry.h"

// Where the windowless renderer takes the picture from and where it draws
// it in the video window.

// How the picture fills the video window: stretched to the window (16:9) or
// with a wide picture cut at both sides (4:3). The settings files keep the
// mode as 1 or 2, the numbers given here.
enum class AspectMode : int { Ratio16x9 = 1, Ratio4x3 = 2 };

// The whole native picture, or, with overscan, the picture less 32 pixels
// at each side and 18 at top and bottom.
Rect VideoSourceRect(Size native, bool overscan);

// The picture's rectangle in a client area of `client` size. In 16:9 mode
// it fills the client area. In 4:3 mode a wider picture is centred and cut
// at both sides: by 12% of the 16:9 width of a 1024-line window, by 12.5% of
// the 16:9 width of a window taller than 720 lines showing a 720-line
// picture, and otherwise by 12.5% of the native width.
Rect VideoDestinationRect(AspectMode aspectMode, Size client, Size native);
