#include "core/files/VolumeSteps.h"

#include <algorithm>

namespace {

struct Tenths {
  int tens = 0;    // the tens digit of the per cent
  double q = 0.0;  // the per cent in tens
};

double Percent(double level) { return level / kMaxMixerLevel * 100.0; }

Tenths Split(double percent) { return {static_cast<int>(percent) / 10, percent / 10.0}; }

// The step's result for `n` tens of per cent, kept within the scale.
VolumeStep Result(double n) {
  const double level = std::clamp(n / 10.0 * kMaxMixerLevel, 0.0, double{kMaxMixerLevel});
  return {static_cast<unsigned>(level), std::clamp(n * 10.0, 0.0, 100.0)};
}

}  // namespace

VolumeStep VolumeUp(double level) {
  const double percent = Percent(level);
  if (percent == 100.0) return {kMaxMixerLevel, 100.0};
  const auto [d, q] = Split(percent);
  double n = d + 1.25;
  if (q < d + 0.2) {
    n = d + 0.25;
  } else if (q < d + 0.45) {
    n = d + 0.5;
  } else if (q < d + 0.7) {
    n = d + 0.75;
  } else if (q < d + 0.95) {
    n = d + 1.0;
  }
  return Result(n);
}

VolumeStep VolumeDown(double level) {
  const double percent = Percent(level);
  const auto [d, q] = Split(percent);
  double n = d - 0.25;
  if (q > d + 0.8) {
    n = d + 0.75;
  } else if (q > d + 0.55) {
    n = d + 0.5;
  } else if (q > d + 0.3) {
    n = d + 0.25;
  } else if (q > d + 0.1) {
    n = d;
  } else if (q == 0) {
    n = 0;
  }
  return Result(n);
}
