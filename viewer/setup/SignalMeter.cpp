#include "viewer/setup/SignalMeter.h"

#include <algorithm>
#include <cstdlib>

#include "core/tuning/SignalPercent.h"

int ChannelTabSignalPercent(const TuningModel* model, long s) {
  const SignalScale scale = SignalScaleOf(model);
  if (scale != SignalScale::FusionHdtv) return SignalPercent(scale, s);
  const auto p = static_cast<long>(-static_cast<double>(s) / 250.0 + 80.0);
  return static_cast<int>(p < 0 ? 0 : p);
}

std::optional<int> BeepPeriodMs(int percent) {
  if (percent >= 85) return 250;
  if (percent >= 70) return 1000;
  if (percent >= 60) return 1500;
  return std::nullopt;
}

SignalMeter::SignalMeter(const TuningModel* model) : scale(SignalScaleOf(model)) {
  const int number = model != nullptr ? model->number : -1;
  beeps = (number >= 0 && number <= 2) || (number >= 4 && number <= 6);
}

SignalMeter::Reading SignalMeter::Read(long rawStrength) {
  Reading reading;
  int p = SignalPercent(scale, rawStrength);
  if (beeps) {
    const std::optional<int> period = BeepPeriodMs(p);
    reading.beepChanged = period != beepPeriodMs;
    beepPeriodMs = period;
    reading.beepPeriodMs = period;
  } else {
    // An unknown scale: the bar spans what has been seen, a negative value
    // widening it both ways.
    range.lowest = std::min(range.lowest, p);
    range.highest = std::max({range.highest, p, std::abs(p)});
    reading.range = range;
  }
  reading.percent = p < 1 ? 0 : p;
  return reading;
}
