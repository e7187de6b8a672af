#include "info/FilterLists.h"

#include <dshow.h>
#include <wrl/client.h>

#include "graph/GraphToolkit.h"
#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD kLowestMerit = 0x200000;

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
