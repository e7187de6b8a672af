#pragma once
// Tunes an ATSC network provider the way the suite does: the "ATSC" space of
// the system tuning spaces, a locator with the physical channel, a channel
// tune request (major -1 below minor 2), ITuner::put_TuneRequest.

#include <windows.h>
#include <strmif.h>

// `step` names the call that failed.
HRESULT TuneAtsc(IBaseFilter* provider, long physical, long major, long minor, const char** step);

// ITuner::get_SignalStrength of the provider.
HRESULT ReadSignalStrength(IBaseFilter* provider, long* strength);
