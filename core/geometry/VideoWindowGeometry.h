#pragma once

// The video window's geometry: the sizes it offers, full screen on either
// display, the aspect and resize rules and edge snapping. Every rectangle is
// a whole window rectangle; the picture is the window less a 3-pixel frame
// on every side, so sizes offered and shown to the user are picture sizes.

#include <optional>
#include <vector>

#include "core/geometry/FullScreenPlacement.h"  // kVideoFrame, the frame on every side
#include "core/geometry/Geometry.h"
#include "core/geometry/VideoPosition.h"

// The displays as the system reports them: the primary display's size, the
// second display's size (when there is one) and the virtual desktop that
// holds both (its origin may be negative).
struct DisplayLayout {
  Size primary;
  std::optional<Size> second;
  Rect virtualScreen;  // left, top, right, bottom
};

// The display that full screen goes to.
Size TargetDisplaySize(const DisplayLayout& displays, bool onPrimary);

// The window covering the target display, its frame beyond the display's
// edges.
Rect FullScreenRect(const DisplayLayout& displays, bool onPrimary);

// Leaving full screen: back to the restore rectangle's corner and width, the
// height following the width for the aspect.
Rect LeaveFullScreenRect(const Rect& restore, AspectMode aspect);

// A picture width and the aspect give the window around it, at `left`, `top`.
Rect WindowForPicture(int left, int top, int pictureWidth, AspectMode aspect);
Rect WindowForPicture(int left, int top, Size picture);

// The picture sizes the "WINDOW..." menu offers for the aspect on a display
// of `display` size, in order, up to the first that does not fit.
std::vector<Size> WindowSizeChoices(AspectMode aspect, Size display);

// The edge being dragged while the video window is resized.
enum class SizingEdge { Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// With the resize lock on only the bottom edge moves, and the width follows
// the height for the aspect; any other edge keeps `old`.
Rect LockedResizeRect(const Rect& old, const Rect& proposed, SizingEdge edge, AspectMode aspect);

// Moves `window` so that an edge lying 0 to 10 pixels inside the matching
// edge of `workArea` meets it; `overhang` pixels of the window may lie
// beyond the edge (the video window's frame). Left and top are tried before
// right and bottom. The size never changes.
Rect SnapToWorkArea(const Rect& window, const Rect& workArea, int overhang);

// Where a switch of display puts the video window and the control panel,
// and, in full screen, the new restore rectangle.
struct DisplaySwitchPlaces {
  Rect video;
  int panelLeft = 0;
  int panelTop = 0;
  std::optional<Rect> restore;
};
DisplaySwitchPlaces SwitchDisplay(const DisplayLayout& displays, bool toPrimary,
                                  const Rect& video, bool fullScreen);

// The screen less the taskbar, which sits along one of its edges; a taskbar
// that is not along an edge takes nothing.
enum class ScreenEdge { Left, Top, Right, Bottom };
struct Taskbar {
  Rect rect;
  ScreenEdge edge = ScreenEdge::Bottom;
};
Rect WorkArea(const Rect& screen, const std::optional<Taskbar>& taskbar);
