#include "core/geometry/FullScreenPlacement.h"

Rect SecondaryDisplayRect(Size primary, Size secondary, Rect virtualScreen) {
  int left = primary.width;
  int top = 0;
  if (virtualScreen.left != 0 || virtualScreen.top != 0) {
    left = virtualScreen.left;
    top = virtualScreen.top;
  } else if (virtualScreen.Width() == primary.width || virtualScreen.Width() == secondary.width) {
    left = 0;
    top = primary.height;
  }
  return {left, top, left + secondary.width, top + secondary.height};
}

Rect FullScreenRect(bool onPrimary, Size primary, Size secondary, Rect virtualScreen) {
  const Rect display = onPrimary ? Rect{0, 0, primary.width, primary.height}
                                 : SecondaryDisplayRect(primary, secondary, virtualScreen);
  return {display.left - kVideoFrame, display.top - kVideoFrame, display.right + kVideoFrame,
          display.bottom + kVideoFrame};
}
