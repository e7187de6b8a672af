#pragma once
// The viewer's ATSC tuning calls, in its order, with its failure texts: the
// tuning-space lookup once, then a tune request per channel, and the signal
// strength. A failure gives the text the viewer would show.

#include <windows.h>
#include <strmif.h>
#include <tuner.h>
#include <wrl/client.h>

#include <string>

class AtscTuning {
 public:
  // FindAtscTuningSpace: container, enumeration, count, one Next, ITuner of
  // the provider, the first space named "ATSC", its clone, the locator.
  HRESULT FindSpace(IBaseFilter* provider, std::string& failure);
  // TuneChannel: physical channel into the locator, a new request, major
  // channel -1 below minor 2, minor channel, locator, put_TuneRequest.
  HRESULT Tune(long physical, long major, long minor, std::string& failure);
  HRESULT SignalStrength(long* strength);

 private:
  Microsoft::WRL::ComPtr<ITuner> tuner;
  Microsoft::WRL::ComPtr<IATSCTuningSpace> space;
  Microsoft::WRL::ComPtr<IATSCLocator> locator;
};
