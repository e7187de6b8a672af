#include "graph/AtscTuning.h"

#include <vector>

#include "graph/GraphToolkit.h"
#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

// Shows a tuning failure (caption "Error") and passes its result on.
HRESULT Failed(HRESULT hr, const char* text) {
  ShowGraphMessage(ErrorBox(text));
  return hr;
}

// The tuning spaces handed out by one Next call, released together.
class TuningSpaceList {
 public:
  explicit TuningSpaceList(ULONG count) : spaces(count, nullptr) {}
  ~TuningSpaceList() {
    for (ITuningSpace* space : spaces) {
      if (space != nullptr) space->Release();
    }
  }
  TuningSpaceList(const TuningSpaceList&) = delete;
  TuningSpaceList& operator=(const TuningSpaceList&) = delete;
  std::vector<ITuningSpace*> spaces;
};

class ScopedBstr {
 public:
  ScopedBstr() = default;
  ~ScopedBstr() { SysFreeString(value); }
  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  BSTR value = nullptr;
};

}  // namespace

HRESULT AtscTuning::FindAtscTuningSpace(IBaseFilter* networkProvider) {
  RETURN_HR_IF_NULL(E_POINTER, networkProvider);
  HRESULT hr = CoCreateInstance(CLSID_SystemTuningSpaces, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(container.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to create system tuning space.");
  ComPtr<IEnumTuningSpaces> spaces;
  hr = container->get_EnumTuningSpaces(&spaces);
  if (FAILED(hr) || !spaces) return Failed(FAILED(hr) ? hr : E_FAIL, "Failed to get tuning space enumerator.");
  long count = 0;
  hr = container->get_Count(&count);
  if (FAILED(hr)) return Failed(hr, "Failed to enumerate tuning spaces.");
  TuningSpaceList list(count > 0 ? static_cast<ULONG>(count) : 0);
  ULONG fetched = 0;
  if (count > 0) {
    hr = spaces->Next(static_cast<ULONG>(count), list.spaces.data(), &fetched);
    if (FAILED(hr)) return Failed(hr, "Failed to read tuning spaces.");
  }
  hr = networkProvider->QueryInterface(IID_PPV_ARGS(tuner.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) {
    ShowGraphMessage(Exclaim("CAN'T INITIALIZE TUNER"));
    return hr;
  }
  space.Reset();
  for (ULONG i = 0; i < fetched && i < list.spaces.size() && !space; ++i) {
    if (list.spaces[i] == nullptr) continue;
    ScopedBstr name;
    hr = list.spaces[i]->get_UniqueName(&name.value);
    if (FAILED(hr)) return Failed(hr, "Failed to read tuning space unique name.");
    if (name.value != nullptr && wcscmp(name.value, L"ATSC") == 0) {
      hr = list.spaces[i]->Clone(&space);
      if (FAILED(hr)) return Failed(hr, "Could not find ATSC tuning space.");
    }
  }
  if (!space) return Failed(E_FAIL, "Could not find ATSC tuning space.");
  hr = space.As(&atscSpace);
  if (FAILED(hr)) return Failed(hr, "Failed to QI for IATSCTuningSpace.");
  hr = CoCreateInstance(CLSID_ATSCLocator, nullptr, CLSCTX_INPROC_SERVER,
                        IID_PPV_ARGS(locator.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to create ATSC locator.");
  return S_OK;
}

HRESULT AtscTuning::TuneChannel(int physical, int major, int minor) {
  request.Reset();
  atscRequest.Reset();
  tuned = TuneValues{physical, major, minor};
  RETURN_HR_IF(E_UNEXPECTED, !locator || !atscSpace || !tuner);
  HRESULT hr = locator->put_PhysicalChannel(physical);
  if (FAILED(hr)) return Failed(hr, "Failed to set physical channel.");
  ComPtr<ITuneRequest> created;
  hr = atscSpace->CreateTuneRequest(&created);
  if (FAILED(hr) || !created) return Failed(FAILED(hr) ? hr : E_FAIL, "Failed to create tune request.");
  hr = created.As(&atscRequest);
  if (FAILED(hr)) return Failed(hr, "Failed to query for IATSCChannelTuneRequest.");
  hr = atscRequest->put_Channel(RequestedMajorChannel(major, minor));
  if (FAILED(hr)) return Failed(hr, "Failed to put channel property.");
  hr = atscRequest->put_MinorChannel(minor);
  if (FAILED(hr)) return Failed(hr, "Failed to put minor channel property.");
  hr = atscRequest->put_Locator(locator.Get());
  if (FAILED(hr)) return Failed(hr, "Failed to put locator.");
  hr = atscRequest.As(&request);
  if (FAILED(hr)) return Failed(hr, "Failed to QI tune request");
  hr = tuner->put_TuneRequest(request.Get());
  if (FAILED(hr)) return Failed(hr, "Failed to put tune request");
  return S_OK;
}

HRESULT AtscTuning::ReadSignalStrength() {
  RETURN_HR_IF(E_UNEXPECTED, !tuner);
  long strength = 0;
  RETURN_IF_FAILED(tuner->get_SignalStrength(&strength));
  signalStrength = strength;
  return S_OK;
}

void AtscTuning::Release() {
  request.Reset();
  atscRequest.Reset();
  locator.Reset();
  atscSpace.Reset();
  space.Reset();
  tuner.Reset();
  container.Reset();
}
