#include "tssource/TsSourceFilter.h"

#include "win/HResultMacros.h"
#include "tssource/TsSourceGuids.h"

#include <cstring>
#include <new>

namespace tssource {

namespace {
// A box without owner or caption (an empty title, not the default "Error").
constexpr char kOpenFailedText[] = "CREATEFILE";
constexpr char kNoCaption[] = "";
}

TsSourceFilter::TsSourceFilter() : BaseFilter(kTsSourceClsid), pin(*this, file) {}

HRESULT TsSourceFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  auto* filter = new TsSourceFilter();
  HRESULT hr = filter->QueryInterface(riid, object);
  filter->Release();
  return hr;
}
CATCH_RETURN()

HRESULT TsSourceFilter::QueryFilterInterface(REFIID riid, void** object) {
  if (riid == IID_IFileSourceFilter) {
    *object = static_cast<IFileSourceFilter*>(this);
    AddRef();
    return S_OK;
  }
  if (riid == IID_IMediaSeeking) return pin.Seeking()->QueryInterface(riid, object);
  return BaseFilter::QueryFilterInterface(riid, object);
}

// The media type is ignored: the file is taken as a transport stream. The
// block index stays where it is; the player seeks before it plays.
STDMETHODIMP TsSourceFilter::Load(LPCOLESTR fileName, const AM_MEDIA_TYPE*) try {
  RETURN_HR_IF_NULL(E_POINTER, fileName);
  HRESULT hr = file.Open(fileName);
  if (hr == HRESULT_FROM_WIN32(ERROR_INVALID_NAME)) return hr;
  if (FAILED(hr)) {
    MessageBoxA(nullptr, kOpenFailedText, kNoCaption, MB_OK);
    return E_FAIL;
  }
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP TsSourceFilter::GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF_NULL(E_POINTER, fileName);
  *fileName = nullptr;
  const std::wstring name = file.Name();
  if (!name.empty()) {
    const size_t bytes = (name.size() + 1) * sizeof(wchar_t);
    *fileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    RETURN_HR_IF_NULL(E_OUTOFMEMORY, *fileName);
    std::memcpy(*fileName, name.c_str(), bytes);
  }
  if (mt != nullptr) *mt = AM_MEDIA_TYPE{};
  return S_OK;
}
CATCH_RETURN()

}  // namespace tssource
