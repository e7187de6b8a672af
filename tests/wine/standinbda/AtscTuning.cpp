#include "AtscTuning.h"

#include <uuids.h>

#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

HRESULT Failed(HRESULT hr, const char* text, std::string& failure) {
  failure = text;
  return FAILED(hr) ? hr : E_FAIL;
}

}  // namespace

HRESULT AtscTuning::FindSpace(IBaseFilter* provider, std::string& failure) {
  ComPtr<ITuningSpaceContainer> container;
  HRESULT hr = CoCreateInstance(CLSID_SystemTuningSpaces, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ITuningSpaceContainer, reinterpret_cast<void**>(container.GetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to create system tuning space.", failure);
  ComPtr<IEnumTuningSpaces> spaces;
  hr = container->get_EnumTuningSpaces(&spaces);
  if (FAILED(hr)) return Failed(hr, "Failed to get tuning space enumerator.", failure);
  LONG count = 0;
  hr = container->get_Count(&count);
  if (FAILED(hr)) return Failed(hr, "Failed to enumerate tuning spaces.", failure);
  std::vector<ITuningSpace*> fetched(static_cast<size_t>(count > 0 ? count : 0) + 1, nullptr);
  ULONG got = 0;
  hr = spaces->Next(static_cast<ULONG>(count), fetched.data(), &got);
  const auto releaseAll = [&] {
    for (ITuningSpace*& space : fetched) {
      if (space != nullptr) space->Release();
      space = nullptr;
    }
  };
  if (FAILED(hr)) {
    releaseAll();
    return Failed(hr, "Failed to read tuning spaces.", failure);
  }
  hr = provider->QueryInterface(IID_ITuner, reinterpret_cast<void**>(tuner.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) {
    releaseAll();
    return Failed(hr, "CAN'T INITIALIZE TUNER", failure);
  }
  ComPtr<ITuningSpace> clone;
  for (ULONG i = 0; i < got && !clone; ++i) {
    BSTR name = nullptr;
    hr = fetched[i]->get_UniqueName(&name);
    if (FAILED(hr)) {
      releaseAll();
      return Failed(hr, "Failed to read tuning space unique name.", failure);
    }
    const bool atsc = name != nullptr && std::wstring(name) == L"ATSC";
    SysFreeString(name);
    if (atsc) fetched[i]->Clone(&clone);  // a failed clone leaves none: "Could not find"
  }
  releaseAll();
  if (!clone) return Failed(E_FAIL, "Could not find ATSC tuning space.", failure);
  hr = clone->QueryInterface(IID_IATSCTuningSpace, reinterpret_cast<void**>(space.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to QI for IATSCTuningSpace.", failure);
  hr = CoCreateInstance(CLSID_ATSCLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IATSCLocator,
                        reinterpret_cast<void**>(locator.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to create ATSC locator.", failure);
  return S_OK;
}

HRESULT AtscTuning::Tune(long physical, long major, long minor, std::string& failure) {
  HRESULT hr = locator->put_PhysicalChannel(physical);
  if (FAILED(hr)) return Failed(hr, "Failed to set physical channel.", failure);
  ComPtr<ITuneRequest> request;
  hr = space->CreateTuneRequest(&request);
  if (FAILED(hr)) return Failed(hr, "Failed to create tune request.", failure);
  ComPtr<IATSCChannelTuneRequest> atsc;
  hr = request->QueryInterface(IID_IATSCChannelTuneRequest, reinterpret_cast<void**>(atsc.GetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to query for IATSCChannelTuneRequest.", failure);
  hr = atsc->put_Channel(minor < 2 ? -1 : major);
  if (FAILED(hr)) return Failed(hr, "Failed to put channel property.", failure);
  hr = atsc->put_MinorChannel(minor);
  if (FAILED(hr)) return Failed(hr, "Failed to put minor channel property.", failure);
  hr = atsc->put_Locator(locator.Get());
  if (FAILED(hr)) return Failed(hr, "Failed to put locator.", failure);
  ComPtr<ITuneRequest> asRequest;
  hr = atsc->QueryInterface(IID_ITuneRequest, reinterpret_cast<void**>(asRequest.GetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to QI tune request", failure);
  hr = tuner->put_TuneRequest(asRequest.Get());
  if (FAILED(hr)) return Failed(hr, "Failed to put tune request", failure);
  return S_OK;
}

HRESULT AtscTuning::SignalStrength(long* strength) {
  LONG value = 0;
  const HRESULT hr = tuner->get_SignalStrength(&value);
  *strength = value;
  return hr;
}
