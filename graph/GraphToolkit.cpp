#include "graph/GraphToolkit.h"

#include <wrl/client.h>

#include "win/HResultMacros.h"
#include "dshow/InfoOwners.h"
#include "dshow/MediaType.h"

using Microsoft::WRL::ComPtr;

namespace {

class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value); }
  ~ScopedVariant() { VariantClear(&value); }  // nothing to do about a failure here
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT value;
};

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
HRESULT EnumerateCategory(REFGUID category, IEnumMoniker** monikers) {
  *monikers = nullptr;
  ComPtr<ICreateDevEnum> devices;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&devices)))) {
    ShowGraphMessage(Exclaim("CAN'T INITIALIZE SYSTEM DEVICE ENUMERATOR"));
    return E_FAIL;
  }
  const HRESULT hr = devices->CreateClassEnumerator(category, monikers, 0);
  RETURN_IF_FAILED(hr);
  return S_OK;  // S_FALSE (an empty category) leaves *monikers null
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
// one connected, S_FALSE when none did.
HRESULT ConnectToAnyInput(IGraphBuilder* graph, IPin* output, IBaseFilter* downstream) {
  ComPtr<IEnumPins> inputs;
  if (FAILED(downstream->EnumPins(&inputs))) {
    ShowGraphMessage(Exclaim("CAN'T ENUM INPUT PINS ON FILTER"));
    return E_FAIL;
  }
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
  ScopedVariant value;
  value.value.vt = VT_BSTR;
  RETURN_IF_FAILED(bag->Read(L"FriendlyName", &value.value, nullptr));
  RETURN_HR_IF(E_UNEXPECTED, value.value.vt != VT_BSTR || value.value.bstrVal == nullptr);
  return Narrow(value.value.bstrVal, name);
}

void ShowGraphMessage(const GraphMessage& message) {
  switch (message.style) {
    case BoxStyle::Exclamation:
      MessageBoxA(nullptr, message.text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
      break;
    case BoxStyle::ErrorCaption:
      MessageBoxA(nullptr, message.text.c_str(), "Error", MB_OK);
      break;
    case BoxStyle::Plain:
      MessageBoxA(nullptr, message.text.c_str(), "", MB_OK);
      break;
  }
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

HRESULT AddFilterByName(IGraphBuilder* graph, REFGUID category, FilterRole role,
                        const TuningModel* model, const DecoderNames& decoders,
                        IBaseFilter** filter) {
  RETURN_HR_IF_NULL(E_POINTER, filter);
  *filter = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, graph);
  ComPtr<IEnumMoniker> monikers;
  RETURN_IF_FAILED(EnumerateCategory(category, &monikers));
  RETURN_HR_IF(VFW_E_NOT_FOUND, !monikers || model == nullptr);
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, &moniker, nullptr) == S_OK) {
    std::string name;
    if (SUCCEEDED(ReadFriendlyName(moniker.Get(), &name)) &&
        AcceptsDevice(*model, name, role, decoders)) {
      ComPtr<IBaseFilter> device;
      RETURN_IF_FAILED(moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&device)));
      const HRESULT added = graph->AddFilter(device.Get(), RoleFilterName(role));
      if (FAILED(added)) {
        ShowGraphMessage(Exclaim("CAN'T ADD FILTER BY CLSID"));
        return added;
      }
      *filter = device.Detach();
      return S_OK;
    }
    moniker.Reset();
  }
  return VFW_E_NOT_FOUND;
}

HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* upstream, IBaseFilter* downstream,
                       const GUID* onlyMajorType) {
  RETURN_HR_IF_NULL(E_POINTER, graph);
  RETURN_HR_IF_NULL(E_POINTER, upstream);
  RETURN_HR_IF_NULL(E_POINTER, downstream);
  ComPtr<IEnumPins> outputs;
  if (FAILED(upstream->EnumPins(&outputs))) {
    ShowGraphMessage(Exclaim("CAN'T ENUM OUTPUT PINS ON FILTER"));
    return E_FAIL;
  }
  ComPtr<IPin> output;
  while (outputs->Next(1, &output, nullptr) == S_OK) {
    if (IsFreePin(output.Get(), PINDIR_OUTPUT) &&
        (onlyMajorType == nullptr || OffersMajorType(output.Get(), *onlyMajorType))) {
      const HRESULT hr = ConnectToAnyInput(graph, output.Get(), downstream);
      RETURN_IF_FAILED(hr);
      if (hr == S_OK) return S_OK;
    }
    output.Reset();
  }
  ShowGraphMessage(Exclaim("COULDN'T CONNECT FILTERS"));
  return E_FAIL;
}

HRESULT EnumerateTunerDevices(std::vector<std::string>* names) {
  RETURN_HR_IF_NULL(E_POINTER, names);
  ComPtr<IEnumMoniker> monikers;
  RETURN_IF_FAILED(EnumerateCategory(kBdaNetworkTunerCategory, &monikers));
  names->clear();
  if (!monikers) return S_OK;
  ComPtr<IMoniker> moniker;
  while (names->size() < kMaxTunerDevices && monikers->Next(1, &moniker, nullptr) == S_OK) {
    std::string name;
    // A device whose name cannot be read is left out of the list.
    if (SUCCEEDED(ReadFriendlyName(moniker.Get(), &name))) names->push_back(std::move(name));
    moniker.Reset();
  }
  return S_OK;
}
