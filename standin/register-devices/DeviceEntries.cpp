#include "standin/register-devices/DeviceEntries.h"

#include <dshow.h>
#include <wrl/client.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "graph/BdaIds.h"
#include "win/HResultMacros.h"
#include "win/UniqueHandle.h"

using Microsoft::WRL::ComPtr;

namespace {

// The class id of every stand-in entry: {5A0C1E52-7D1B-4C8E-9F3A-6B2D41E7C901}.
const CLSID kStandInEntry = {0x5A0C1E52, 0x7D1B, 0x4C8E, {0x9F, 0x3A, 0x6B, 0x2D, 0x41, 0xE7, 0xC9, 0x01}};

// The virtual tuner and capture filters of telvstandin-bda.dll, which the
// entries of virtual devices create when bound.
const CLSID kVirtualTuner = {0x6B7E0C31, 0x2F4A, 0x4E59, {0x8D, 0x1C, 0x3A, 0x5F, 0x7B, 0x9E, 0x2D, 0x41}};
const CLSID kVirtualCapture = {0x6B7E0C32, 0x2F4A, 0x4E59, {0x8D, 0x1C, 0x3A, 0x5F, 0x7B, 0x9E, 0x2D, 0x41}};

bool IsOurClass(const CLSID& clsid) {
  return clsid == kStandInEntry || clsid == kVirtualTuner || clsid == kVirtualCapture;
}

struct OurEntry {
  std::wstring name;
  std::wstring instance;  // the entry's key under the category
  CLSID clsid;
};

const GUID& CategoryOf(EntryKind kind) {
  switch (kind) {
    case EntryKind::Tuner: return kBdaNetworkTunerCategory;
    case EntryKind::Capture: return kBdaReceiverComponentCategory;
    default: return CLSID_LegacyAmFilterCategory;
  }
}

// The registry key of an entry: a class-id-shaped text made from a hash of
// its name. (Wine's filter mapper copies the instance name of an entry it
// unregisters into a buffer that only a class id string fits, so the
// friendly name itself cannot serve as the key.)
std::wstring InstanceKey(const std::wstring& name) {
  auto hash = [&name](std::uint64_t value) {
    for (wchar_t c : name) {
      value ^= static_cast<std::uint64_t>(c);
      value *= 0x100000001B3ull;
    }
    return value;
  };
  const std::uint64_t high = hash(0xCBF29CE484222325ull);
  const std::uint64_t low = hash(0x84222325CBF29CE4ull);
  wchar_t key[40];
  swprintf(key, 40, L"{%08X-%04X-%04X-%04X-%012llX}", static_cast<unsigned>(high >> 32),
           static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFFF),
           static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
  return key;
}

HRESULT CreateMapper(ComPtr<IFilterMapper2>* mapper) {
  return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(mapper->GetAddressOf()));
}

HRESULT ReadProperty(IPropertyBag* bag, const wchar_t* name, VARTYPE type, UniqueVariant& value) {
  VARIANT* slot = value.Put();
  slot->vt = type;
  RETURN_IF_FAILED(bag->Read(name, slot, nullptr));
  return slot->vt == type ? S_OK : E_UNEXPECTED;
}

// The key name of a device moniker's entry: what follows the last
// backslash of its display name.
std::wstring InstanceOf(IMoniker* moniker) {
  ComPtr<IBindCtx> context;
  if (FAILED(CreateBindCtx(0, &context))) return {};
  LPOLESTR display = nullptr;
  if (FAILED(moniker->GetDisplayName(context.Get(), nullptr, &display)) || display == nullptr) return {};
  std::wstring text = display;
  CoTaskMemFree(display);
  const std::size_t slash = text.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : text.substr(slash + 1);
}

// Our entries in a category: those registered by this tool.
HRESULT ListOurEntries(const GUID& category, std::vector<OurEntry>* entries) {
  entries->clear();
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
    UniqueVariant clsid, name;
    if (FAILED(ReadProperty(bag.Get(), L"CLSID", VT_BSTR, clsid))) continue;
    CLSID entryClass{};
    const bool ours = SUCCEEDED(CLSIDFromString(clsid->bstrVal, &entryClass)) && IsOurClass(entryClass);
    if (!ours || FAILED(ReadProperty(bag.Get(), L"FriendlyName", VT_BSTR, name))) continue;
    entries->push_back(OurEntry{name->bstrVal, InstanceOf(moniker.Get()), entryClass});
  }
  return S_OK;
}

HRESULT RemoveEntry(IFilterMapper2* mapper, const GUID& category, const OurEntry& entry) {
  const wchar_t* instance = entry.instance.empty() ? entry.name.c_str() : entry.instance.c_str();
  return mapper->UnregisterFilter(&category, instance, entry.clsid);
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
  return mapper->RegisterFilter(kStandInEntry, name.c_str(), nullptr, &CategoryOf(kind),
                                InstanceKey(name).c_str(), &filter);
}

HRESULT RegisterDeviceEntry(EntryKind kind, const std::wstring& name) {
  RETURN_HR_IF(E_INVALIDARG, kind != EntryKind::Tuner && kind != EntryKind::Capture);
  std::vector<OurEntry> ours;
  RETURN_IF_FAILED(ListOurEntries(CategoryOf(kind), &ours));
  // The first device of a name is keyed by the name, the next ones by
  // "NAME #2", "NAME #3"..., each through InstanceKey so that long names
  // stay safe to unregister.
  std::wstring instance = InstanceKey(name);
  for (int copy = 2;; ++copy) {
    bool taken = false;
    for (const OurEntry& entry : ours) taken = taken || entry.instance == instance;
    if (!taken) break;
    instance = InstanceKey(name + L" #" + std::to_wstring(copy));
  }
  ComPtr<IFilterMapper2> mapper;
  RETURN_IF_FAILED(CreateMapper(&mapper));
  REGFILTER2 filter{};
  filter.dwVersion = 1;
  filter.dwMerit = MERIT_DO_NOT_USE;
  const CLSID& clsid = kind == EntryKind::Tuner ? kVirtualTuner : kVirtualCapture;
  return mapper->RegisterFilter(clsid, name.c_str(), nullptr, &CategoryOf(kind), instance.c_str(),
                                &filter);
}

HRESULT UnregisterEntry(EntryKind kind, const std::wstring& name) {
  std::vector<OurEntry> ours;
  RETURN_IF_FAILED(ListOurEntries(CategoryOf(kind), &ours));
  ComPtr<IFilterMapper2> mapper;
  RETURN_IF_FAILED(CreateMapper(&mapper));
  bool found = false;
  for (const OurEntry& entry : ours) {
    if (entry.name != name) continue;
    found = true;
    RETURN_IF_FAILED(RemoveEntry(mapper.Get(), CategoryOf(kind), entry));
  }
  return found ? S_OK : S_FALSE;
}

HRESULT ClearEntries() {
  ComPtr<IFilterMapper2> mapper;
  RETURN_IF_FAILED(CreateMapper(&mapper));
  for (const GUID* category : {&kBdaNetworkTunerCategory, &kBdaReceiverComponentCategory,
                               &CLSID_LegacyAmFilterCategory}) {
    std::vector<OurEntry> ours;
    RETURN_IF_FAILED(ListOurEntries(*category, &ours));
    for (const OurEntry& entry : ours) {
      const HRESULT hr = RemoveEntry(mapper.Get(), *category, entry);
      // An entry listed twice is gone after its first removal.
      if (hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) RETURN_IF_FAILED(hr);
    }
  }
  return S_OK;
}
