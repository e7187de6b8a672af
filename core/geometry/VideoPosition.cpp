#include "core/geometry/VideoPosition.h"

Rect VideoSourceRect(Size native, bool overscan) {
  if (!overscan) return {0, 0, native.width, native.height};
  return {32, 18, native.width - 32, native.height - 18};
}

Rect VideoDestinationRect(AspectMode aspectMode, Size client, Size native) {
  const int w = client.width;
  const int h = client.height;
  if (aspectMode != AspectMode::Ratio4x3) return {0, 0, w, h};
  double cut = 0;
  if (h == 1024) {
    const int wide = 1024 * 16 / 9;  // 1820
    cut = wide * 0.12;
  } else if (native.height == 720 && h > 720) {
    const int wide = h * 16 / 9;
    cut = wide * 0.125;
  } else {
    cut = native.width * 0.125;
  }
  // Both ends truncated toward zero.
  return {static_cast<int>(-cut), 0, static_cast<int>(w + cut), h};
}
