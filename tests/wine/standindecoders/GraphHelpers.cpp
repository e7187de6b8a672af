#include "GraphHelpers.h"

#include "win/HResultMacros.h"
#include "win/UniqueHandle.h"
#include "dshow/InfoOwners.h"

#include <dshow.h>
#include <uuids.h>
#include <wrl/client.h>

#include <cstdio>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

std::vector<ComPtr<IPin>> FreePins(IBaseFilter* filter, PIN_DIRECTION wanted) {
  std::vector<ComPtr<IPin>> found;
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(&pins))) return found;
  ComPtr<IPin> pin;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction{};
    ComPtr<IPin> peer;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted &&
        pin->ConnectedTo(&peer) == VFW_E_NOT_CONNECTED) {
      found.push_back(pin);
    }
    pin.Reset();
  }
  return found;
}

HRESULT AddMoniker(IGraphBuilder* graph, IMoniker* moniker, const wchar_t* name,
                   IBaseFilter** out) {
  ComPtr<IBaseFilter> filter;
  RETURN_IF_FAILED(moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter)));
  RETURN_IF_FAILED(graph->AddFilter(filter.Get(), name));
  return filter.CopyTo(out);
}

HRESULT EnumerateCategory(const GUID& category, IEnumMoniker** out) {
  ComPtr<ICreateDevEnum> devices;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&devices)));
  RETURN_IF_FAILED(devices->CreateClassEnumerator(category, out, 0));
  return *out != nullptr ? S_OK : VFW_E_NOT_FOUND;
}

}  // namespace

std::string Narrow(const wchar_t* text) {
  char buffer[512] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

HRESULT AddByClsid(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name,
                   IBaseFilter** out) {
  ComPtr<IBaseFilter> filter;
  RETURN_IF_FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)));
  RETURN_IF_FAILED(graph->AddFilter(filter.Get(), name));
  return filter.CopyTo(out);
}

HRESULT AddByFriendlyName(IGraphBuilder* graph, const GUID& category, const wchar_t* friendlyName,
                          const wchar_t* name, IBaseFilter** out) {
  ComPtr<IEnumMoniker> monikers;
  RETURN_IF_FAILED(EnumerateCategory(category, &monikers));
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, &moniker, nullptr) == S_OK) {
    ComPtr<IPropertyBag> bag;
    UniqueVariant value;
    const bool matches = SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag))) &&
                         SUCCEEDED(bag->Read(L"FriendlyName", value.Put(), nullptr)) &&
                         value->vt == VT_BSTR && lstrcmpW(value->bstrVal, friendlyName) == 0;
    if (matches) return AddMoniker(graph, moniker.Get(), name, out);
    moniker.Reset();
  }
  return VFW_E_NOT_FOUND;
}

HRESULT AddFirstDevice(IGraphBuilder* graph, const GUID& category, const wchar_t* name,
                       IBaseFilter** out) {
  ComPtr<IEnumMoniker> monikers;
  RETURN_IF_FAILED(EnumerateCategory(category, &monikers));
  ComPtr<IMoniker> moniker;
  RETURN_HR_IF(VFW_E_NOT_FOUND, monikers->Next(1, &moniker, nullptr) != S_OK);
  return AddMoniker(graph, moniker.Get(), name, out);
}

HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to) {
  const auto inputs = FreePins(to, PINDIR_INPUT);
  RETURN_HR_IF(VFW_E_NOT_FOUND, inputs.empty());
  HRESULT last = VFW_E_NOT_FOUND;
  for (const auto& output : FreePins(from, PINDIR_OUTPUT)) {
    last = graph->Connect(output.Get(), inputs.front().Get());
    if (SUCCEEDED(last)) return last;
  }
  return last;
}

void PrintFilters(IGraphBuilder* graph) {
  ComPtr<IEnumFilters> filters;
  if (FAILED(graph->EnumFilters(&filters))) return;
  ComPtr<IBaseFilter> filter;
  while (filters->Next(1, &filter, nullptr) == S_OK) {
    dshow::FilterInfoOwner info;
    if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
      std::printf("filter=%s\n", Narrow(info.achName).c_str());
    }
    filter.Reset();
  }
}
