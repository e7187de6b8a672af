#include "graph/AtscTuning.h"

#include <optional>
#include <vector>

#include "core/tuning/TuningSpaceChoice.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "win/UniqueHandle.h"

using Microsoft::WRL::ComPtr;

namespace {

// A tuning failure: its text in a box with the caption "Error".
GraphOutcome Failed(HRESULT hr, const char* text) {
  return GraphOutcome::Failure(FAILED(hr) ? hr : E_FAIL, ErrorBox(text));
}

// Takes over the references to the tuning spaces that one Next call handed
// out (not ComPtr::Attach: mingw-w64's adds a reference of its own).
std::vector<ComPtr<ITuningSpace>> TakeSpaces(const std::vector<ITuningSpace*>& handedOut) {
  std::vector<ComPtr<ITuningSpace>> spaces(handedOut.size());
  for (std::size_t i = 0; i < handedOut.size(); ++i) spaces[i] = AdoptNew(handedOut[i]);
  return spaces;
}

// Whether the space is an ATSC tuning space with the antenna as its input.
// The input type is what tells the antenna space from the ATSC cable space
// that Windows 7 and later list beside it; a space whose type cannot be
// read is not taken.
bool IsAtscAntennaSpace(ITuningSpace* space) {
  ComPtr<IATSCTuningSpace> atsc;
  if (FAILED(ComPtr<ITuningSpace>(space).As(&atsc))) return false;
  TunerInputType input = TunerInputCable;
  return SUCCEEDED(atsc->get_InputType(&input)) && input == TunerInputAntenna;
}

}  // namespace

GraphOutcome AtscTuning::FindAtscTuningSpace(IBaseFilter* networkProvider) {
  if (networkProvider == nullptr) return GraphOutcome::Result(E_POINTER);
  HRESULT hr = CoCreateInstance(CLSID_SystemTuningSpaces, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(container.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to create system tuning space.");
  ComPtr<IEnumTuningSpaces> spaces;
  hr = container->get_EnumTuningSpaces(&spaces);
  if (FAILED(hr) || !spaces) return Failed(hr, "Failed to get tuning space enumerator.");
  long count = 0;
  hr = container->get_Count(&count);
  if (FAILED(hr)) return Failed(hr, "Failed to enumerate tuning spaces.");
  std::vector<ITuningSpace*> handedOut(count > 0 ? static_cast<std::size_t>(count) : 0, nullptr);
  ULONG fetched = 0;
  if (count > 0) hr = spaces->Next(static_cast<ULONG>(count), handedOut.data(), &fetched);
  // Owned at once, so that every way out below releases them.
  const std::vector<ComPtr<ITuningSpace>> list = TakeSpaces(handedOut);
  if (FAILED(hr)) return Failed(hr, "Failed to read tuning spaces.");
  hr = ComPtr<IBaseFilter>(networkProvider).As(&tuner);
  if (FAILED(hr)) return GraphOutcome::Failure(hr, Exclaim("CAN'T INITIALIZE TUNER"));
  space.Reset();
  std::vector<TuningSpaceFacts> facts;
  for (ULONG i = 0; i < fetched && i < list.size(); ++i) {
    TuningSpaceFacts& found = facts.emplace_back();
    if (!list[i]) continue;
    UniqueBstr name;
    hr = list[i]->get_UniqueName(name.Put());
    if (FAILED(hr)) return Failed(hr, "Failed to read tuning space unique name.");
    if (name) found.uniqueName = name.Get();
    if (found.uniqueName == L"ATSC") break;  // taken whatever the spaces after it
    found.atscAntenna = IsAtscAntennaSpace(list[i].Get());
  }
  const std::optional<std::size_t> chosen = ChooseAtscTuningSpace(facts);
  if (!chosen) return Failed(E_FAIL, "Could not find ATSC tuning space.");
  hr = list[*chosen]->Clone(&space);
  if (FAILED(hr) || !space) return Failed(hr, "Could not find ATSC tuning space.");
  hr = space.As(&atscSpace);
  if (FAILED(hr)) return Failed(hr, "Failed to QI for IATSCTuningSpace.");
  hr = CoCreateInstance(CLSID_ATSCLocator, nullptr, CLSCTX_INPROC_SERVER,
                        IID_PPV_ARGS(locator.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return Failed(hr, "Failed to create ATSC locator.");
  return GraphOutcome::Result(S_OK);
}

GraphOutcome AtscTuning::TuneChannel(int physical, int major, int minor) {
  request.Reset();
  atscRequest.Reset();
  tuned = TuneValues{physical, major, minor};
  if (!locator || !atscSpace || !tuner) return GraphOutcome::Result(E_UNEXPECTED);
  HRESULT hr = locator->put_PhysicalChannel(physical);
  if (FAILED(hr)) return Failed(hr, "Failed to set physical channel.");
  ComPtr<ITuneRequest> created;
  hr = atscSpace->CreateTuneRequest(&created);
  if (FAILED(hr) || !created) return Failed(hr, "Failed to create tune request.");
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
  return GraphOutcome::Result(S_OK);
}

HRESULT AtscTuning::ReadSignalStrength() {
  RETURN_HR_IF(E_UNEXPECTED, !tuner);
  long strength = 0;
  RETURN_IF_FAILED(tuner->get_SignalStrength(&strength));
  signalStrength = strength;
  return S_OK;
}

void AtscTuning::Reset() {
  request.Reset();
  atscRequest.Reset();
  locator.Reset();
  atscSpace.Reset();
  space.Reset();
  tuner.Reset();
  container.Reset();
}
