#pragma once

#include <optional>
#include <vector>

#include "core/files/PlayConfig.h"
#include "core/geometry/Geometry.h"
#include "core/geometry/VideoPosition.h"

// The player's video window: its sizes for each aspect, the window menu's
// size entries and where the picture goes in it. Window rectangles are
// outer rectangles; the picture is 6 pixels smaller (a 3-pixel frame).

// The picture sizes the window menu offers on a display, in table order,
// as long as they fit: 16:9 sizes whose width is at most the display's and
// whose height is below it; 4:3 sizes likewise, but on a display wider than
// 3:2 a height equal to the display's fits too.
std::vector<Size> WindowMenuSizes(AspectMode aspectMode, Size display);

// The window after an aspect toggle outside full screen: left, top and the
// picture width stay; the picture height follows the aspect.
Rect AspectFitted(const Rect& window, AspectMode aspectMode);

// The window after a sizing drag: only the bottom edge resizes it, the width
// following the height; any other edge keeps `current`.
Rect BottomEdgeSized(const Rect& proposed, const Rect& current, bool bottomEdge,
                     AspectMode aspectMode);

// Whether a window has the size of a display's full-screen window, wherever
// it is: a window that was full screen at exit comes back at that size and
// is full screen again once a file is opened.
bool HasFullScreenSize(const Rect& window, const Rect& fullScreen);

// Where the windows go back to from the secondary display: the places they
// had before they went there. A player started on the secondary display
// never had any; its windows go to the places of a first start.
struct WindowPlaces {
  Rect video;
  int panelLeft = 0;
  int panelTop = 0;
};
WindowPlaces BackFromSecondary(const std::optional<WindowPlaces>& saved,
                               const PlayConfig& firstStart);

// Where the renderer draws from and to. Stopped, the source is empty (the
// renderer keeps its last picture) and only the destination counts.
struct PicturePlacement {
  Rect source;
  Rect destination;
};
PicturePlacement PlacePicture(AspectMode aspectMode, Size client, Size native, bool overscan,
                              bool stopped);
