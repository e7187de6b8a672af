#include "graph/GraphToolkit.h"

#include <wrl/client.h>

#include "dshow/MediaType.h"
#include "win/HResultMacros.h"
#include "win/UniqueHandle.h"

using Microsoft::WRL::ComPtr;

namespace {


HRESULT Narrow(const wchar_t* wide, std::string* out) {
  out->clear();
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  RETURN_LAST_ERROR_IF(size <= 0);
  std::string text(static_cast<size_t>(size), '\0');
  RETURN_LAST_ERROR_IF(WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr,
                                           nullptr) != size);
  text.resize(static_cast<size_t>(size) - 1);  // the terminating null
  *out = std::move(text);
  return S_OK;
}

// The monikers of a device category; *monikers stays null for an empty one.
GraphOutcome EnumerateCategory(REFGUID category, IEnumMoniker** monikers) {
  *monikers = nullptr;
  ComPtr<ICreateDevEnum> devices;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&devices)))) {
    return GraphOutcome::Failure(E_FAIL, Exclaim("CAN'T INITIALIZE SYSTEM DEVICE ENUMERATOR"));
  }
  const HRESULT hr = devices->CreateClassEnumerator(category, monikers, 0);
  // S_FALSE (an empty category) leaves *monikers null.
  return GraphOutcome::Result(FAILED(hr) ? hr : S_OK);
}

bool IsFreePin(IPin* pin, PIN_DIRECTION wanted) {
  PIN_DIRECTION direction;
  if (FAILED(pin->QueryDirection(&direction)) || direction != wanted) return false;
  ComPtr<IPin> peer;
  return FAILED(pin->ConnectedTo(&peer));  // VFW_E_NOT_CONNECTED
}

bool OffersMajorType(IPin* pin, const GUID& major) {
  ComPtr<IEnumMediaTypes> types;
  if (FAILED(pin->EnumMediaTypes(&types))) return false;
  AM_MEDIA_TYPE* type = nullptr;
  while (types->Next(1, &type, nullptr) == S_OK) {
    const bool matches = type->majortype == major;
    dshow::DeleteMediaType(type);
    if (matches) return true;
  }
  return false;
}

// Tries every free input pin of `downstream` with one output pin. S_OK when
// one connected, S_FALSE when none did, a failure when the input pins
// cannot be listed.
HRESULT ConnectToAnyInput(IGraphBuilder* graph, IPin* output, IBaseFilter* downstream) {
  ComPtr<IEnumPins> inputs;
  RETURN_IF_FAILED(downstream->EnumPins(&inputs));
  ComPtr<IPin> input;
  while (inputs->Next(1, &input, nullptr) == S_OK) {
    if (IsFreePin(input.Get(), PINDIR_INPUT) && SUCCEEDED(graph->Connect(output, input.Get()))) {
      return S_OK;
    }
    input.Reset();
  }
  return S_FALSE;
}

}  // namespace

HRESULT ReadFriendlyName(IMoniker* moniker, std::string* name) {
  ComPtr<IPropertyBag> bag;
  RETURN_IF_FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)));
  UniqueVariant value;
  VARIANT* read = value.Put();
  read->vt = VT_BSTR;
  RETURN_IF_FAILED(bag->Read(L"FriendlyName", read, nullptr));
  RETURN_HR_IF(E_UNEXPECTED, value->vt != VT_BSTR || value->bstrVal == nullptr);
  return Narrow(value->bstrVal, name);
}

const wchar_t* RoleFilterName(FilterRole role) {
  switch (role) {
    case FilterRole::Tuner: return L"BDATunerDemod";
    case FilterRole::Capture: return L"TSCapture";
    case FilterRole::VideoDecoder: return L"Video Decoder";
    case FilterRole::AudioDecoder: return L"Audio Decoder";
  }
  return L"";
}

HRESULT AddFilterByClsid(IGraphBuilder* graph, REFCLSID clsid, const wchar_t* name,
                         IBaseFilter** filter) {
  RETURN_HR_IF_NULL(E_POINTER, filter);
  *filter = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, graph);
  ComPtr<IBaseFilter> created;
  RETURN_IF_FAILED(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&created)));
  RETURN_IF_FAILED(graph->AddFilter(created.Get(), name));
  *filter = created.Detach();
  return S_OK;
}

GraphOutcome AddFilterByName(IGraphBuilder* graph, REFGUID category, FilterRole role,
                             const TuningModel* model, const DecoderNames& decoders,
                             IBaseFilter** filter) {
  if (filter == nullptr) return GraphOutcome::Result(E_POINTER);
  *filter = nullptr;
  if (graph == nullptr) return GraphOutcome::Result(E_POINTER);
  ComPtr<IEnumMoniker> monikers;
  GraphOutcome listed = EnumerateCategory(category, &monikers);
  if (listed.Failed()) return listed;
  if (!monikers || model == nullptr) return GraphOutcome::Result(VFW_E_NOT_FOUND);
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, &moniker, nullptr) == S_OK) {
    std::string name;
    if (SUCCEEDED(ReadFriendlyName(moniker.Get(), &name)) &&
        AcceptsDevice(*model, name, role, decoders)) {
      ComPtr<IBaseFilter> device;
      const HRESULT bound = moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&device));
      if (FAILED(bound)) return GraphOutcome::Result(bound);
      const HRESULT added = graph->AddFilter(device.Get(), RoleFilterName(role));
      if (FAILED(added)) return GraphOutcome::Failure(added, Exclaim("CAN'T ADD FILTER BY CLSID"));
      *filter = device.Detach();
      return GraphOutcome::Result(S_OK);
    }
    moniker.Reset();
  }
  return GraphOutcome::Result(VFW_E_NOT_FOUND);
}

GraphOutcome ConnectFilters(IGraphBuilder* graph, IBaseFilter* upstream, IBaseFilter* downstream,
                            const GUID* onlyMajorType) {
  if (graph == nullptr || upstream == nullptr || downstream == nullptr) {
    return GraphOutcome::Result(E_POINTER);
  }
  ComPtr<IEnumPins> outputs;
  if (FAILED(upstream->EnumPins(&outputs))) {
    return GraphOutcome::Failure(E_FAIL, Exclaim("CAN'T ENUM OUTPUT PINS ON FILTER"));
  }
  ComPtr<IPin> output;
  while (outputs->Next(1, &output, nullptr) == S_OK) {
    if (IsFreePin(output.Get(), PINDIR_OUTPUT) &&
        (onlyMajorType == nullptr || OffersMajorType(output.Get(), *onlyMajorType))) {
      const HRESULT hr = ConnectToAnyInput(graph, output.Get(), downstream);
      if (FAILED(hr)) {
        return GraphOutcome::Failure(E_FAIL, Exclaim("CAN'T ENUM INPUT PINS ON FILTER"));
      }
      if (hr == S_OK) return GraphOutcome::Result(S_OK);
    }
    output.Reset();
  }
  return GraphOutcome::Failure(E_FAIL, Exclaim("COULDN'T CONNECT FILTERS"));
}

GraphOutcome EnumerateTunerDevices(std::vector<std::string>* names) {
  if (names == nullptr) return GraphOutcome::Result(E_POINTER);
  ComPtr<IEnumMoniker> monikers;
  GraphOutcome listed = EnumerateCategory(kBdaNetworkTunerCategory, &monikers);
  if (listed.Failed()) return listed;
  names->clear();
  if (!monikers) return listed;
  ComPtr<IMoniker> moniker;
  while (names->size() < kMaxTunerDevices && monikers->Next(1, &moniker, nullptr) == S_OK) {
    std::string name;
    // A device whose name cannot be read is left out of the list.
    if (SUCCEEDED(ReadFriendlyName(moniker.Get(), &name))) names->push_back(std::move(name));
    moniker.Reset();
  }
  return listed;
}
