#include "DeviceEntries.h"

#include <dshow.h>
#include <wrl/client.h>

#include <vector>

#include "HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

// The class id of every stand-in entry: {5A0C1E52-7D1B-4C8E-9F3A-6B2D41E7C901}.
const CLSID kStandInEntry = {0x5A0C1E52, 0x7D1B, 0x4C8E, {0x9F, 0x3A, 0x6B, 0x2D, 0x41, 0xE7, 0xC9, 0x01}};

const GUID kCategoryBdaNetworkTuner = {
    0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
const GUID kCategoryBdaReceiverComponent = {
    0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};

const GUID& CategoryOf(EntryKind kind) {
  switch (kind) {
    case EntryKind::Tuner: return kCategoryBdaNetworkTuner;
    case EntryKind::Capture: return kCategoryBdaReceiverComponent;
    default: return CLSID_LegacyAmFilterCategory;
  }
}

HRESULT CreateMapper(ComPtr<IFilterMapper2>* mapper) {
  return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(mapper->GetAddressOf()));
}

HRESULT ReadProperty(IPropertyBag* bag, const wchar_t* name, VARTYPE type, VARIANT* value) {
  VariantInit(value);
  value->vt = type;
  RETURN_IF_FAILED(bag->Read(name, value, nullptr));
  return value->vt == type ? S_OK : E_UNEXPECTED;
}

// Friendly names of our entries in a category.
HRESULT ListOurEntries(const GUID& category, std::vector<std::wstring>* names) {
  names->clear();
  ComPtr<ICreateDevEnum> devices;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&devices)));
  ComPtr<IEnumMoniker> monikers;
  const HRESULT hr = devices->CreateClassEnumerator(category, &monikers, 0);
  RETURN_IF_FAILED(hr);
  if (hr != S_OK || !monikers) return S_OK;  // an empty category
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)))) continue;
    VARIANT clsid, name;
    if (FAILED(ReadProperty(bag.Get(), L"CLSID", VT_BSTR, &clsid))) continue;
    CLSID entryClass{};
    const bool ours = SUCCEEDED(CLSIDFromString(clsid.bstrVal, &entryClass)) && entryClass == kStandInEntry;
    VariantClear(&clsid);  // a BSTR: cannot fail
    if (!ours || FAILED(ReadProperty(bag.Get(), L"FriendlyName", VT_BSTR, &name))) continue;
    names->push_back(name.bstrVal);
    VariantClear(&name);  // a BSTR: cannot fail
  }
  return S_OK;
}

}  // namespace

HRESULT RegisterEntry(EntryKind kind, const std::wstring& name) {
  ComPtr<IFilterMapper2> mapper;
  RETURN_IF_FAILED(CreateMapper(&mapper));
  const bool video = kind == EntryKind::VideoDecoder;
  REGPINTYPES inputType{video ? &MEDIATYPE_Video : &MEDIATYPE_Audio,
                        video ? &MEDIASUBTYPE_MPEG2_VIDEO : &MEDIASUBTYPE_DOLBY_AC3};
  REGPINTYPES outputType{video ? &MEDIATYPE_Video : &MEDIATYPE_Audio,
                         video ? &MEDIASUBTYPE_RGB32 : &MEDIASUBTYPE_PCM};
  REGFILTERPINS pins[2] = {
      {nullptr, FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &inputType},
      {nullptr, FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &outputType},
  };
  const bool decoder = kind == EntryKind::VideoDecoder || kind == EntryKind::AudioDecoder;
  REGFILTER2 filter{};
  filter.dwVersion = 1;
  filter.dwMerit = decoder ? MERIT_NORMAL : MERIT_DO_NOT_USE;
  filter.cPins = decoder ? 2 : 0;
  filter.rgPins = decoder ? pins : nullptr;
  return mapper->RegisterFilter(kStandInEntry, name.c_str(), nullptr, &CategoryOf(kind), name.c_str(),
                                &filter);
}

HRESULT UnregisterEntry(EntryKind kind, const std::wstring& name) {
  std::vector<std::wstring> ours;
  RETURN_IF_FAILED(ListOurEntries(CategoryOf(kind), &ours));
  bool found = false;
  for (const std::wstring& entry : ours) found = found || entry == name;
  if (!found) return S_FALSE;
  ComPtr<IFilterMapper2> mapper;
  RETURN_IF_FAILED(CreateMapper(&mapper));
  return mapper->UnregisterFilter(&CategoryOf(kind), name.c_str(), kStandInEntry);
}

HRESULT ClearEntries() {
  ComPtr<IFilterMapper2> mapper;
  RETURN_IF_FAILED(CreateMapper(&mapper));
  for (const GUID* category : {&kCategoryBdaNetworkTuner, &kCategoryBdaReceiverComponent,
                               &CLSID_LegacyAmFilterCategory}) {
    std::vector<std::wstring> ours;
    RETURN_IF_FAILED(ListOurEntries(*category, &ours));
    for (const std::wstring& name : ours)
      RETURN_IF_FAILED(mapper->UnregisterFilter(category, name.c_str(), kStandInEntry));
  }
  return S_OK;
}
