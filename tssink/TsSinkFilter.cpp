#include "tssink/TsSinkFilter.h"

#include "win/HResultMacros.h"
#include "tssink/TsSinkGuids.h"

#include <cstring>
#include <mutex>

namespace tssink {

TsSinkFilter::TsSinkFilter() : BaseFilter(kTsSinkClsid), pin(*this) {}

HRESULT TsSinkFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  auto* filter = new TsSinkFilter();
  HRESULT hr = filter->QueryInterface(riid, object);
  filter->Release();
  return hr;
}
CATCH_RETURN()

HRESULT TsSinkFilter::QueryFilterInterface(REFIID riid, void** object) {
  if (riid == IID_IFileSinkFilter) {
    *object = static_cast<IFileSinkFilter*>(this);
    AddRef();
    return S_OK;
  }
  return BaseFilter::QueryFilterInterface(riid, object);
}

// The media type is ignored: the file gets the bytes as they come.
STDMETHODIMP TsSinkFilter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*) try {
  RETURN_HR_IF_NULL(E_POINTER, name);
  RETURN_HR_IF(E_INVALIDARG, name[0] == L'\0');
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), wcslen(name) >= 32767);
  std::lock_guard lock(StateLock());
  fileName = name;
  pin.SetFileName(fileName);
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP TsSinkFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF_NULL(E_POINTER, name);
  *name = nullptr;
  if (mt != nullptr) *mt = AM_MEDIA_TYPE{};
  std::lock_guard lock(StateLock());
  RETURN_HR_IF(E_FAIL, fileName.empty());
  const size_t bytes = (fileName.size() + 1) * sizeof(wchar_t);
  *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, *name);
  std::memcpy(*name, fileName.c_str(), bytes);
  return S_OK;
}
CATCH_RETURN()

}  // namespace tssink
