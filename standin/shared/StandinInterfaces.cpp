#include "standin/shared/StandinInterfaces.h"

#include <vfwmsgs.h>
#include <wrl/client.h>

#include "win/HResultMacros.h"
#include "dshow/InfoOwners.h"

using Microsoft::WRL::ComPtr;

namespace standin {

namespace {

constexpr int kMaxDepth = 16;  // a graph is never deeper; guards against cycles

HRESULT FindFrom(IBaseFilter* filter, IStandinTunedProgram** found, int depth) {
  ComPtr<IStandinTunedProgram> tuned;
  if (SUCCEEDED(ComPtr<IBaseFilter>(filter).As(&tuned))) return tuned.CopyTo(found);
  RETURN_HR_IF(VFW_E_NOT_FOUND, depth >= kMaxDepth);
  ComPtr<IEnumPins> pins;
  RETURN_IF_FAILED(filter->EnumPins(&pins));
  ComPtr<IPin> pin;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction{};
    ComPtr<IPin> upstream;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT &&
        SUCCEEDED(pin->ConnectedTo(&upstream))) {
      dshow::PinInfoOwner info;
      if (SUCCEEDED(upstream->QueryPinInfo(&info)) && info.pFilter != nullptr &&
          SUCCEEDED(FindFrom(info.pFilter, found, depth + 1))) {
        return S_OK;
      }
    }
    pin.Reset();
  }
  return VFW_E_NOT_FOUND;
}

}  // namespace

HRESULT FindUpstreamTunedProgram(IBaseFilter* filter, IStandinTunedProgram** found) {
  RETURN_HR_IF_NULL(E_POINTER, found);
  *found = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, filter);
  return FindFrom(filter, found, 0);
}

}  // namespace standin
