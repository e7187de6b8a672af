#include "standin/bda/AtscTuneRequest.h"

#include "standin/bda/FailSteps.h"
#include "win/HResultMacros.h"

namespace standin {

HRESULT AtscTuneRequest::Create(ITuningSpace* space, ITuneRequest** request) try {
  RETURN_HR_IF_NULL(E_POINTER, request);
  *request = new AtscTuneRequest(space);
  return S_OK;
}
CATCH_RETURN()

HRESULT AtscTuneRequest::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_ITuneRequest && StepFails(steps::kTuneRequestQuery)) return E_NOINTERFACE;
  if (riid == IID_IATSCChannelTuneRequest && StepFails(steps::kTuneRequestAtscQuery)) {
    return E_NOINTERFACE;
  }
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ITuneRequest ||
      riid == IID_IChannelTuneRequest || riid == IID_IATSCChannelTuneRequest) {
    return HandOut(static_cast<IATSCChannelTuneRequest*>(this), object);
  }
  return E_NOINTERFACE;
}

STDMETHODIMP AtscTuneRequest::get_TuningSpace(ITuningSpace** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  if (!space) return S_FALSE;
  return space.CopyTo(out);
}

STDMETHODIMP AtscTuneRequest::get_Components(IComponents** components) {
  if (components != nullptr) *components = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP AtscTuneRequest::Clone(ITuneRequest** copy) try {
  RETURN_HR_IF_NULL(E_POINTER, copy);
  *copy = nullptr;
  Microsoft::WRL::ComPtr<ILocator> locatorCopy;
  if (locator) RETURN_IF_FAILED(locator->Clone(&locatorCopy));
  auto* clone = new AtscTuneRequest(space.Get());
  clone->locator = locatorCopy;
  clone->channel = channel;
  clone->minorChannel = minorChannel;
  *copy = clone;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP AtscTuneRequest::get_Locator(ILocator** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  if (!locator) return S_FALSE;
  return locator.CopyTo(out);
}

STDMETHODIMP AtscTuneRequest::put_Locator(ILocator* newLocator) {
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuneRequestLocator));
  locator = newLocator;
  return S_OK;
}

STDMETHODIMP AtscTuneRequest::get_Channel(LONG* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = channel;
  return S_OK;
}

STDMETHODIMP AtscTuneRequest::put_Channel(LONG value) {
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuneRequestChannel));
  channel = value;
  return S_OK;
}

STDMETHODIMP AtscTuneRequest::get_MinorChannel(LONG* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = minorChannel;
  return S_OK;
}

STDMETHODIMP AtscTuneRequest::put_MinorChannel(LONG value) {
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuneRequestMinorChannel));
  minorChannel = value;
  return S_OK;
}

}  // namespace standin
