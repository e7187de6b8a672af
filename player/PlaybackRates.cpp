#include "player/PlaybackRates.h"

double PlaybackRates::FastForward() {
  forward = Next(forward);
  reverse = 1.0;
  return forward;
}

double PlaybackRates::Rewind() {
  reverse = Next(reverse);
  forward = 1.0;
  return -reverse;
}

std::optional<double> PlaybackRates::Reset() {
  if (forward <= 1.0 && reverse <= 1.0) return std::nullopt;
  Clear();
  return 1.0;
}
