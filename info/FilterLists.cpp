#include "FilterLists.h"

#include <dshow.h>
#include <wrl/client.h>

#include "HResultMacros.h"

using Microsoft::WRL::ComPtr;

const GUID kCategoryBdaNetworkTuner = {
    0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
const GUID kCategoryBdaReceiverComponent = {
    0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};

namespace {

constexpr DWORD kLowestMerit = 0x200000;

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

HRESULT ReadFriendlyName(IMoniker* moniker, std::string* name) {
  ComPtr<IPropertyBag> bag;
  RETURN_IF_FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)));
  ScopedVariant value;
  value.value.vt = VT_BSTR;
  RETURN_IF_FAILED(bag->Read(L"FriendlyName", &value.value, nullptr));
  RETURN_HR_IF(E_UNEXPECTED, value.value.vt != VT_BSTR || value.value.bstrVal == nullptr);
  return Narrow(value.value.bstrVal, name);
}

// Adds the names of every moniker the enumerator yields; unreadable names
// are skipped.
HRESULT AddNames(IEnumMoniker* monikers, std::vector<std::string>* names) {
  for (;;) {
    ComPtr<IMoniker> moniker;
    const HRESULT hr = monikers->Next(1, &moniker, nullptr);
    RETURN_IF_FAILED(hr);
    if (hr != S_OK) return S_OK;  // the end of the list
    std::string name;
    if (SUCCEEDED(ReadFriendlyName(moniker.Get(), &name))) names->push_back(std::move(name));
  }
}

}  // namespace

HRESULT ListCategoryNames(const GUID& category, std::vector<std::string>* names) {
  RETURN_HR_IF_NULL(E_POINTER, names);
  names->clear();
  ComPtr<ICreateDevEnum> devices;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&devices)));
  ComPtr<IEnumMoniker> monikers;
  const HRESULT hr = devices->CreateClassEnumerator(category, &monikers, 0);
  RETURN_IF_FAILED(hr);
  if (hr != S_OK || !monikers) return S_OK;  // S_FALSE: the category is empty
  return AddNames(monikers.Get(), names);
}

HRESULT ListDecoderNames(const GUID& inputMajor, const GUID& inputSubtype, const GUID& outputMajor,
                         std::vector<std::string>* names) {
  RETURN_HR_IF_NULL(E_POINTER, names);
  names->clear();
  ComPtr<IFilterMapper2> mapper;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&mapper)));
  const GUID inputTypes[2] = {inputMajor, inputSubtype};
  const GUID outputTypes[2] = {outputMajor, GUID_NULL};
  ComPtr<IEnumMoniker> monikers;
  RETURN_IF_FAILED(mapper->EnumMatchingFilters(&monikers, 0, TRUE, kLowestMerit,
                                               TRUE, 1, inputTypes, nullptr, nullptr,
                                               FALSE,
                                               TRUE, 1, outputTypes, nullptr, nullptr));
  RETURN_HR_IF_NULL(E_UNEXPECTED, monikers.Get());
  return AddNames(monikers.Get(), names);
}
