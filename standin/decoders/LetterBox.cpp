#include "standin/decoders/LetterBox.h"

#include <algorithm>

BoxRect LetterBox(const BoxRect& destination, long aspectX, long aspectY) {
  const long long width = destination.Width();
  const long long height = destination.Height();
  if (width <= 0 || height <= 0 || aspectX <= 0 || aspectY <= 0) return destination;

  BoxRect fitted = destination;
  if (width * aspectY > height * aspectX) {
    // Wider than the picture: bars left and right.
    const long long fittedWidth = height * aspectX / aspectY;
    fitted.left = destination.left + static_cast<long>((width - fittedWidth) / 2);
    fitted.right = fitted.left + static_cast<long>(fittedWidth);
  } else {
    // Taller than the picture: bars above and below.
    const long long fittedHeight = width * aspectY / aspectX;
    fitted.top = destination.top + static_cast<long>((height - fittedHeight) / 2);
    fitted.bottom = fitted.top + static_cast<long>(fittedHeight);
  }
  return fitted;
}

BoxRect ScaleToPicture(const BoxRect& r, long fromWidth, long fromHeight, long toWidth,
                       long toHeight) {
  if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0) return r;
  const auto scale = [](long value, long from, long to) {
    const long long scaled = static_cast<long long>(value) * to / from;
    return static_cast<long>(std::clamp<long long>(scaled, 0, to));
  };
  return {scale(r.left, fromWidth, toWidth), scale(r.top, fromHeight, toHeight),
          scale(r.right, fromWidth, toWidth), scale(r.bottom, fromHeight, toHeight)};
}
