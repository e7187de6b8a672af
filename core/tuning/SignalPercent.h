#pragma once

// The signal strength shown in the control panel, in per cent, from the raw
// value the tuner reports; each tuner model reports on its own scale.
int SignalPercent(int tunerModel, long rawStrength);
