#pragma once

#include <optional>

#include "core/tuning/TuningModel.h"

// The signal strength shown in the control panel, in per cent, from the raw
// value the tuner reports on its model's scale.
int SignalPercent(SignalScale scale, long rawStrength);

// The scale of the model in use; without a catalogue row the raw value is
// the figure.
SignalScale SignalScaleOf(const TuningModel* model);

// The same for the model in use.
int SignalPercent(const std::optional<TuningModel>& model, long rawStrength);
