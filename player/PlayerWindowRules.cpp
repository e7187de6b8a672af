#include "player/PlayerWindowRules.h"

#include <span>

#include "core/geometry/FullScreenPlacement.h"

namespace {

constexpr Size kSizes16x9[] = {{640, 360},   {800, 450},   {854, 480},  {1024, 576},
                               {1152, 648},  {1280, 720},  {1366, 768}, {1440, 810},
                               {1600, 900},  {1680, 945},  {1920, 1080}};
constexpr Size kSizes4x3[] = {{640, 480},   {800, 600},   {960, 720},   {1024, 768}, {1152, 852},
                              {1200, 900},  {1280, 960},  {1440, 1080}, {1600, 1200}};

int PictureHeight(int pictureWidth, AspectMode aspectMode) {
  return static_cast<int>(pictureWidth * (aspectMode == AspectMode::Ratio4x3 ? 0.75 : 0.5625));
}

}  // namespace

std::vector<Size> WindowMenuSizes(AspectMode aspectMode, Size display) {
  const bool wide = aspectMode != AspectMode::Ratio4x3;
  const bool tallFits =
      !wide && display.height > 0 && static_cast<double>(display.width) / display.height > 1.5;
  std::vector<Size> sizes;
  for (const Size& size : wide ? std::span<const Size>(kSizes16x9) : std::span<const Size>(kSizes4x3)) {
    const bool fits = size.width <= display.width &&
                      (size.height < display.height || (tallFits && size.height == display.height));
    if (!fits) break;
    sizes.push_back(size);
  }
  return sizes;
}

Rect AspectFitted(const Rect& window, AspectMode aspectMode) {
  const int pictureWidth = window.Width() - 2 * kVideoFrame;
  const int height = PictureHeight(pictureWidth, aspectMode) + 2 * kVideoFrame;
  return {window.left, window.top, window.right, window.top + height};
}

Rect BottomEdgeSized(const Rect& proposed, const Rect& current, bool bottomEdge,
                     AspectMode aspectMode) {
  if (!bottomEdge) return current;
  const int pictureHeight = proposed.Height() - 2 * kVideoFrame;
  const int pictureWidth = aspectMode == AspectMode::Ratio4x3 ? pictureHeight * 4 / 3
                                                              : pictureHeight * 16 / 9;
  return {current.left, current.top, current.left + pictureWidth + 2 * kVideoFrame,
          current.top + proposed.Height()};
}

bool HasFullScreenSize(const Rect& window, const Rect& fullScreen) {
  return window.Width() == fullScreen.Width() && window.Height() == fullScreen.Height();
}

WindowPlaces BackFromSecondary(const std::optional<WindowPlaces>& saved,
                               const PlayConfig& firstStart) {
  return saved.value_or(
      WindowPlaces{firstStart.videoWindow, firstStart.panelLeft, firstStart.panelTop});
}

PicturePlacement PlacePicture(AspectMode aspectMode, Size client, Size native, bool overscan,
                              bool stopped) {
  return {stopped ? Rect{} : VideoSourceRect(native, overscan),
          VideoDestinationRect(aspectMode, client, native)};
}
