#pragma once
// ATSC tuning through the platform's tuning model: the ATSC antenna tuning
// space found once per graph build, a locator, and one tune request per
// channel given to the network provider.

#include <windows.h>
#include <dshow.h>
#include <tuner.h>
#include <wrl/client.h>

#include "core/tuning/ChannelTuning.h"
#include "graph/GraphOutcome.h"

class AtscTuning {
 public:
  // Finds the system tuning space named "ATSC", or else the first ATSC
  // tuning space whose input is the antenna (Windows 7 and later name theirs
  // otherwise), keeps a clone of it, creates a locator and takes the network
  // provider's ITuner. Each failing step
  // returns its result and its text (caption "Error"; "CAN'T INITIALIZE
  // TUNER" with the exclamation icon).
  GraphOutcome FindAtscTuningSpace(IBaseFilter* networkProvider);

  // Sends a tune request for the channel; a minor channel below 2 is tuned by
  // its physical channel alone. The tuned values are kept even when a step
  // fails, and the graph keeps what it was tuned to before. Each failing
  // step returns its result and its text (caption "Error").
  GraphOutcome TuneChannel(int physical, int major, int minor);

  // Reads the tuner's signal strength into SignalStrength().
  HRESULT ReadSignalStrength();

  const TuneValues& Tuned() const { return tuned; }
  void SetTuned(const TuneValues& values) { tuned = values; }
  long SignalStrength() const { return signalStrength; }
  bool HasTuner() const { return tuner != nullptr; }

  // Lets go of every tuning object.
  void Reset();

 private:
  Microsoft::WRL::ComPtr<ITuningSpaceContainer> container;
  Microsoft::WRL::ComPtr<ITuningSpace> space;
  Microsoft::WRL::ComPtr<IATSCTuningSpace> atscSpace;
  Microsoft::WRL::ComPtr<IATSCLocator> locator;
  Microsoft::WRL::ComPtr<ITuner> tuner;
  Microsoft::WRL::ComPtr<ITuneRequest> request;
  Microsoft::WRL::ComPtr<IATSCChannelTuneRequest> atscRequest;
  TuneValues tuned;
  long signalStrength = 0;
};
