#include "core/geometry/PanelCompanionPlacement.h"

#include <algorithm>

namespace {

// `start` moved into [low, high - length]; when the length does not fit the
// start stays at `low`.
int KeepInside(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length));
}

bool FitsAt(int top, int height, const Rect& workArea) {
  return top >= workArea.top && top + height <= workArea.bottom;
}

}  // namespace

Rect PlaceBesidePanel(const Rect& panel, Size window, const Rect& workArea) {
  const int below = panel.bottom;
  const int above = panel.top - window.height;
  int top = below;
  if (!FitsAt(below, window.height, workArea)) {
    top = FitsAt(above, window.height, workArea)
              ? above
              : KeepInside(below, window.height, workArea.top, workArea.bottom);
  }
  const int left = KeepInside(panel.left, window.width, workArea.left, workArea.right);
  return {left, top, left + window.width, top + window.height};
}
