#pragma once
// What the signal read-outs of the setup window make of the tuner's raw
// signal strength: the channel tab's per cent figure, and the signal window
// with its bar, its beeps for aiming an antenna and, for the tuners whose
// scale is not known, the lowest and highest values seen.

#include <optional>

#include "core/tuning/TuningModel.h"

// The channel tab's figure: the control panel's, except that models 1 and
// 2 show (-s) / 250 + 80 without the panel's lower bound of s / 220.
int ChannelTabSignalPercent(const TuningModel* model, long rawStrength);

// How often the signal window beeps at a strength: every 250 ms from 85 per
// cent, every 1000 ms from 70, every 1500 ms from 60, not at all below.
// Nothing for no beep.
std::optional<int> BeepPeriodMs(int percent);

class SignalMeter {
 public:
  struct Range {
    int lowest;
    int highest;
    friend bool operator==(const Range&, const Range&) = default;
  };

  // One reading, as the window shows it.
  struct Reading {
    int percent = 0;             // the bar position and "Signal Strength: %i%%"; never below 0
    std::optional<Range> range;  // the bar's range and "MIN: %i, MAX: %i" (unknown scales)
    bool beepChanged = false;    // the beep moved into another band: restart its timer
    std::optional<int> beepPeriodMs;  // the band's period; nothing for silence
  };

  // `model` is the tuner model in use (nothing: no catalogue row).
  explicit SignalMeter(const TuningModel* model);

  Reading Read(long rawStrength);

 private:
  SignalScale scale = SignalScale::PerCent;
  bool beeps = false;  // models 0, 1, 2, 4, 5 and 6; the others track a range
  Range range{0, 100};
  std::optional<int> beepPeriodMs;
};
