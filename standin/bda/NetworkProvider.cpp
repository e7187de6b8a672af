#include "standin/bda/NetworkProvider.h"

#include <uuids.h>

#include "graph/BdaIds.h"
#include "standin/bda/AntennaLoader.h"
#include "standin/bda/FailSteps.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "standin/bda/VirtualTunerControl.h"

using Microsoft::WRL::ComPtr;

namespace standin {

namespace {

// Whether the request was made by a tuning space whose input is the cable.
// Its physical channel then names a cable frequency, which the virtual
// antenna does not carry, so a program that tunes through the cable space
// receives nothing, as it would with an aerial on a real tuner.
bool FromCableSpace(IATSCChannelTuneRequest* request) {
  ComPtr<ITuningSpace> space;
  if (request->get_TuningSpace(&space) != S_OK || !space) return false;
  ComPtr<IAnalogTVTuningSpace> analog;
  if (FAILED(space.As(&analog))) return false;
  TunerInputType input = TunerInputAntenna;
  return SUCCEEDED(analog->get_InputType(&input)) && input == TunerInputCable;
}

// The channel a tune request asks for: physical from its ATSC locator (none
// for a request of a cable space), major and minor from the request.
HRESULT ReadRequest(ITuneRequest* request, LONG& physical, LONG& major, LONG& minor) {
  ComPtr<IATSCChannelTuneRequest> atsc;
  RETURN_HR_IF(E_INVALIDARG, FAILED(ComPtr<ITuneRequest>(request).As(&atsc)));
  RETURN_IF_FAILED(atsc->get_Channel(&major));
  RETURN_IF_FAILED(atsc->get_MinorChannel(&minor));
  ComPtr<ILocator> locator;
  RETURN_HR_IF(E_INVALIDARG, atsc->get_Locator(&locator) != S_OK || !locator);
  ComPtr<IATSCLocator> atscLocator;
  RETURN_HR_IF(E_INVALIDARG, FAILED(locator.As(&atscLocator)));
  RETURN_IF_FAILED(atscLocator->get_PhysicalChannel(&physical));
  if (FromCableSpace(atsc.Get())) physical = -1;
  return S_OK;
}

}  // namespace

NetworkProvider::NetworkProvider(const CLSID& clsid) : BaseFilter(clsid), output(*this) {}

HRESULT NetworkProvider::Create(const CLSID& clsid, REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kProviderCreate));
  return HandOutNew(new NetworkProvider(clsid), riid, object);
}
CATCH_RETURN()

HRESULT NetworkProvider::CreateAtscInstance(REFIID riid, void** object) {
  return Create(CLSID_ATSCNetworkProvider, riid, object);
}

HRESULT NetworkProvider::CreateGenericInstance(REFIID riid, void** object) {
  return Create(kNetworkProviderClsid, riid, object);
}

HRESULT NetworkProvider::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_ITuner) {
    if (StepFails(steps::kProviderTunerQuery)) return E_NOINTERFACE;
    return HandOut(static_cast<ITuner*>(this), object);
  }
  return BaseFilter::QueryOwnInterface(riid, object);
}

STDMETHODIMP NetworkProvider::get_TuningSpace(ITuningSpace** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  std::lock_guard lock(requestLock);
  if (!space) return S_FALSE;
  return space.CopyTo(out);
}

STDMETHODIMP NetworkProvider::put_TuningSpace(ITuningSpace* newSpace) {
  std::lock_guard lock(requestLock);
  space = newSpace;
  return S_OK;
}

STDMETHODIMP NetworkProvider::EnumTuningSpaces(IEnumTuningSpaces** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP NetworkProvider::get_TuneRequest(ITuneRequest** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  std::lock_guard lock(requestLock);
  if (!request) return S_FALSE;
  return request.CopyTo(out);
}

STDMETHODIMP NetworkProvider::put_TuneRequest(ITuneRequest* newRequest) try {
  RETURN_HR_IF_NULL(E_POINTER, newRequest);
  RETURN_HR_IF(E_FAIL, StepFails(steps::kProviderTuneRequest));
  Channel channel;
  RETURN_IF_FAILED(ReadRequest(newRequest, channel.physical, channel.major, channel.minor));
  channel.set = true;
  // Our own copy: the caller goes on changing its request for the next tune.
  ComPtr<ITuneRequest> kept;
  if (FAILED(newRequest->Clone(&kept))) kept = newRequest;
  {
    std::lock_guard lock(requestLock);
    request = kept;
    wanted = channel;
  }
  ComPtr<IBaseFilter> tuner;
  if (FAILED(output.ConnectedFilter(&tuner))) return S_OK;  // it tunes once connected
  ComPtr<IVirtualTunerControl> control;
  if (FAILED(tuner.As(&control))) return S_OK;  // not ours: nothing we can tell it
  return control->Tune(channel.physical, channel.major, channel.minor);
}
CATCH_RETURN()

STDMETHODIMP NetworkProvider::Validate(ITuneRequest* candidate) {
  RETURN_HR_IF_NULL(E_POINTER, candidate);
  LONG physical = -1, major = -1, minor = -1;
  return ReadRequest(candidate, physical, major, minor);
}

STDMETHODIMP NetworkProvider::get_PreferredComponentTypes(IComponentTypes** types) {
  if (types != nullptr) *types = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP NetworkProvider::put_PreferredComponentTypes(IComponentTypes*) { return E_NOTIMPL; }

// From the tuner when one of ours is connected, otherwise straight from the
// antenna for the channel last asked for.
STDMETHODIMP NetworkProvider::get_SignalStrength(LONG* strength) try {
  RETURN_HR_IF_NULL(E_POINTER, strength);
  *strength = 0;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kProviderSignalStrength));
  ComPtr<IBaseFilter> tuner;
  ComPtr<IVirtualTunerControl> control;
  if (SUCCEEDED(output.ConnectedFilter(&tuner)) && SUCCEEDED(tuner.As(&control))) {
    return control->GetSignalStrength(strength);
  }
  Channel channel;
  {
    std::lock_guard lock(requestLock);
    channel = wanted;
  }
  if (channel.set) *strength = LoadAntenna().Tune(channel.physical, channel.major, channel.minor).signal;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP NetworkProvider::TriggerSignalEvents(LONG) { return S_OK; }

void NetworkProvider::TunerConnected(IBaseFilter* tuner) {
  Channel channel;
  {
    std::lock_guard lock(requestLock);
    channel = wanted;
  }
  ComPtr<IVirtualTunerControl> control;
  if (!channel.set || FAILED(ComPtr<IBaseFilter>(tuner).As(&control))) return;
  control->Tune(channel.physical, channel.major, channel.minor);  // its failure leaves it untuned
}

}  // namespace standin
