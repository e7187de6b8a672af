#include "player/VolumeSteps.h"

#include <algorithm>
#include <cmath>

int NextVolumeLevel(int level, bool up) {
  constexpr double kFull = 65535.0;
  const double percent = level / kFull * 100.0;
  const double t = percent / 10.0;
  const double b = std::floor(t);
  double tenths = 0;
  if (up) {
    if (percent >= 100.0) return 65535;
    if (t < b + 0.2) tenths = b + 0.25;
    else if (t < b + 0.45) tenths = b + 0.5;
    else if (t < b + 0.7) tenths = b + 0.75;
    else if (t < b + 0.95) tenths = b + 1;
    else tenths = b + 1.25;
  } else {
    if (t > b + 0.8) tenths = b + 0.75;
    else if (t > b + 0.55) tenths = b + 0.5;
    else if (t > b + 0.3) tenths = b + 0.25;
    else if (t > b + 0.1) tenths = b;
    else tenths = t <= 0 ? 0 : b - 0.25;
  }
  return std::clamp(static_cast<int>(tenths / 10.0 * kFull), 0, 65535);
}
