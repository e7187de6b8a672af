#include "core/geometry/VideoWindowGeometry.h"

#include <algorithm>
#include <span>

namespace {

constexpr int kSnapDistance = 10;
constexpr Size kStop{2000, 2000};

constexpr Size kSizes16x9[] = {{640, 360},   {800, 450},   {854, 480},  {1024, 576},
                               {1152, 648},  {1280, 720},  {1366, 768}, {1440, 810},
                               {1600, 900},  {1680, 945},  {1920, 1080}, kStop};
constexpr Size kSizes4x3[] = {{640, 480},   {800, 600},   {960, 720},   {1024, 768},
                              {1152, 852},  {1200, 900},  {1280, 960},  {1440, 1080},
                              {1600, 1200}, kStop};

// The restore rectangle a switch to the primary display leaves in full
// screen.
constexpr Rect kPrimaryRestore{-3, -3, 1027, 529};
constexpr int kRestoreLessWidth = 320;
constexpr int kRestoreLessHeight = 180;
constexpr int kPanelInset = 50;
constexpr int kPanelAboveBottom = 200;

double HeightPerWidth(AspectMode aspect) {
  return aspect == AspectMode::Ratio4x3 ? 0.75 : 0.5625;
}

Rect Sized(int left, int top, Size size) {
  return {left, top, left + size.width, top + size.height};
}

Size WithFrame(Size picture) {
  return {picture.width + 2 * kVideoFrame, picture.height + 2 * kVideoFrame};
}

bool HasNonZeroOrigin(const Rect& v) { return v.left != 0 || v.top != 0; }

// The second display lies below the primary one when the virtual desktop is
// no wider than either display.
bool IsStackedVertically(const DisplayLayout& d, Size second) {
  const int width = d.virtualScreen.Width();
  return width == d.primary.width || width == second.width;
}

// The top-left corner of the window on the second display.
struct Corner {
  int left;
  int top;
};
Corner SecondDisplayCorner(const DisplayLayout& d, Size second) {
  const Rect& v = d.virtualScreen;
  if (HasNonZeroOrigin(v)) return {v.left - kVideoFrame, v.top - kVideoFrame};
  if (IsStackedVertically(d, second)) return {-kVideoFrame, d.primary.height - kVideoFrame};
  return {d.primary.width - kVideoFrame, -kVideoFrame};
}

bool IsInside(int inner, int outer) {
  const int distance = inner - outer;
  return distance >= 0 && distance <= kSnapDistance;
}

}  // namespace

Size TargetDisplaySize(const DisplayLayout& displays, bool onPrimary) {
  if (onPrimary || !displays.second) return displays.primary;
  return *displays.second;
}

Rect FullScreenRect(const DisplayLayout& displays, bool onPrimary) {
  if (onPrimary || !displays.second) {
    return Sized(-kVideoFrame, -kVideoFrame, WithFrame(displays.primary));
  }
  const Corner corner = SecondDisplayCorner(displays, *displays.second);
  return Sized(corner.left, corner.top, WithFrame(*displays.second));
}

Rect WindowForPicture(int left, int top, int pictureWidth, AspectMode aspect) {
  const int pictureHeight = static_cast<int>(pictureWidth * HeightPerWidth(aspect));
  return Sized(left, top, WithFrame({pictureWidth, pictureHeight}));
}

Rect WindowForPicture(int left, int top, Size picture) {
  return Sized(left, top, WithFrame(picture));
}

Rect LeaveFullScreenRect(const Rect& restore, AspectMode aspect) {
  return WindowForPicture(restore.left, restore.top, restore.Width() - 2 * kVideoFrame, aspect);
}

std::vector<Size> WindowSizeChoices(AspectMode aspect, Size display) {
  const bool fourThree = aspect == AspectMode::Ratio4x3;
  // On a wide display a 4:3 picture may take the whole height.
  const bool fullHeightFits =
      fourThree && display.height > 0 && display.width >= display.height * 1.5;
  std::vector<Size> choices;
  for (const Size& size : fourThree ? std::span<const Size>(kSizes4x3)
                                    : std::span<const Size>(kSizes16x9)) {
    // The end marker is no size, however large the display.
    if (size == kStop) break;
    const bool heightFits =
        size.height < display.height || (fullHeightFits && size.height == display.height);
    if (size.width > display.width || !heightFits) break;
    choices.push_back(size);
  }
  return choices;
}

Rect LockedResizeRect(const Rect& old, const Rect& proposed, SizingEdge edge, AspectMode aspect) {
  if (edge != SizingEdge::Bottom) return old;
  const int pictureHeight = proposed.Height() - 2 * kVideoFrame;
  const int pictureWidth = aspect == AspectMode::Ratio4x3 ? pictureHeight * 4 / 3
                                                          : pictureHeight * 16 / 9;
  Rect result = proposed;
  result.right = result.left + pictureWidth + 2 * kVideoFrame;
  return result;
}

Rect SnapToWorkArea(const Rect& window, const Rect& workArea, int overhang) {
  const int width = window.Width();
  const int height = window.Height();
  Rect r = window;
  if (IsInside(window.left + overhang, workArea.left)) {
    r.left = workArea.left - overhang;
  } else if (IsInside(workArea.right, window.right - overhang)) {
    r.left = workArea.right + overhang - width;
  }
  if (IsInside(window.top + overhang, workArea.top)) {
    r.top = workArea.top - overhang;
  } else if (IsInside(workArea.bottom, window.bottom - overhang)) {
    r.top = workArea.bottom + overhang - height;
  }
  r.right = r.left + width;
  r.bottom = r.top + height;
  return r;
}

DisplaySwitchPlaces SwitchDisplay(const DisplayLayout& displays, bool toPrimary,
                                  const Rect& video, bool fullScreen) {
  DisplaySwitchPlaces places;
  const Size windowSize{video.Width(), video.Height()};
  if (toPrimary || !displays.second) {
    if (fullScreen) {
      places.video = FullScreenRect(displays, true);
      places.restore = kPrimaryRestore;
    } else {
      places.video = Sized(-kVideoFrame, -kVideoFrame, windowSize);
    }
    places.panelLeft = kPanelInset;
    places.panelTop = displays.primary.height - kPanelAboveBottom;
    return places;
  }

  const Size second = *displays.second;
  const Rect& v = displays.virtualScreen;
  const Corner corner = SecondDisplayCorner(displays, second);
  places.video = Sized(corner.left, corner.top, fullScreen ? WithFrame(second) : windowSize);
  if (HasNonZeroOrigin(v)) {
    places.panelLeft = v.left + kPanelInset;
    places.panelTop = v.left >= 0 ? -kPanelAboveBottom : second.height - kPanelAboveBottom;
  } else if (IsStackedVertically(displays, second)) {
    places.panelLeft = kPanelInset;
    places.panelTop = v.Height() - kPanelAboveBottom;
  } else {
    places.panelLeft = displays.primary.width + kPanelInset;
    places.panelTop = second.height - kPanelAboveBottom;
  }
  if (fullScreen) {
    Rect restore = places.video;
    restore.right -= kRestoreLessWidth;
    restore.bottom -= kRestoreLessHeight;
    places.restore = restore;
  }
  return places;
}

Rect WorkArea(const Rect& screen, const std::optional<Taskbar>& taskbar) {
  Rect work = screen;
  if (!taskbar) return work;
  const Rect& bar = taskbar->rect;
  switch (taskbar->edge) {
    case ScreenEdge::Left:
      work.left = std::max(work.left, bar.right);
      break;
    case ScreenEdge::Top:
      work.top = std::max(work.top, bar.bottom);
      break;
    case ScreenEdge::Right:
      work.right = std::min(work.right, bar.left);
      break;
    case ScreenEdge::Bottom:
      work.bottom = std::min(work.bottom, bar.top);
      break;
  }
  return work;
}
