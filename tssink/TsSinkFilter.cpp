#include "tssink/TsSinkFilter.h"

#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "win/TaskMemText.h"
#include "tssink/TsSinkGuids.h"

#include <mutex>

namespace tssink {

TsSinkFilter::TsSinkFilter() : BaseFilter(kTsSinkClsid), pin(*this) {}

HRESULT TsSinkFilter::CreateInstance(REFIID riid, void** object) try {
  return HandOutNew(new TsSinkFilter(), riid, object);
}
CATCH_RETURN()

HRESULT TsSinkFilter::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IFileSinkFilter) return HandOut(static_cast<IFileSinkFilter*>(this), object);
  return BaseFilter::QueryOwnInterface(riid, object);
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
  return CopyToTaskMem(fileName, name);
}
CATCH_RETURN()

}  // namespace tssink
