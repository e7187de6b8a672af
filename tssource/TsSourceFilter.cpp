#include "tssource/TsSourceFilter.h"

#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "win/TaskMemText.h"
#include "tssource/TsSourceGuids.h"


namespace tssource {

namespace {
// A box without owner or caption (an empty title, not the default "Error").
constexpr char kOpenFailedText[] = "CREATEFILE";
constexpr char kNoCaption[] = "";
}

TsSourceFilter::TsSourceFilter() : BaseFilter(kTsSourceClsid), pin(*this, file) {}

HRESULT TsSourceFilter::CreateInstance(REFIID riid, void** object) try {
  return HandOutNew(new TsSourceFilter(), riid, object);
}
CATCH_RETURN()

HRESULT TsSourceFilter::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IFileSourceFilter) return HandOut(static_cast<IFileSourceFilter*>(this), object);
  if (riid == IID_IMediaSeeking) return HandOut(pin.Seeking(), object);
  return BaseFilter::QueryOwnInterface(riid, object);
}

// The media type is ignored: the file is taken as a transport stream. The
// block index stays where it is; the player seeks before it plays.
STDMETHODIMP TsSourceFilter::Load(LPCOLESTR fileName, const AM_MEDIA_TYPE*) try {
  RETURN_HR_IF_NULL(E_POINTER, fileName);
  switch (file.Open(fileName)) {
    case SourceFile::OpenResult::Opened:
      return S_OK;
    case SourceFile::OpenResult::NameNotConvertible:
      return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    case SourceFile::OpenResult::CannotOpen:
      break;
  }
  MessageBoxA(nullptr, kOpenFailedText, kNoCaption, MB_OK);
  return E_FAIL;
}
CATCH_RETURN()

STDMETHODIMP TsSourceFilter::GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF_NULL(E_POINTER, fileName);
  *fileName = nullptr;
  const std::wstring name = file.Name();
  if (!name.empty()) RETURN_IF_FAILED(CopyToTaskMem(name, fileName));
  if (mt != nullptr) *mt = AM_MEDIA_TYPE{};
  return S_OK;
}
CATCH_RETURN()

}  // namespace tssource
