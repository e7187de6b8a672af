#include "dshow/MediaType.h"

#include <new>

namespace dshow {

void FreeMediaTypeContents(AM_MEDIA_TYPE& mt) noexcept {
  if (mt.cbFormat != 0 || mt.pbFormat != nullptr) {
    CoTaskMemFree(mt.pbFormat);
    mt.cbFormat = 0;
    mt.pbFormat = nullptr;
  }
  if (mt.pUnk != nullptr) {
    mt.pUnk->Release();
    mt.pUnk = nullptr;
  }
}

void DeleteMediaType(AM_MEDIA_TYPE* mt) noexcept {
  if (mt == nullptr) return;
  FreeMediaTypeContents(*mt);
  CoTaskMemFree(mt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source) noexcept {
  target = source;
  target.pbFormat = nullptr;
  target.cbFormat = 0;
  if (source.cbFormat != 0 && source.pbFormat != nullptr) {
    target.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
    if (target.pbFormat == nullptr) {
      target.pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    CopyMemory(target.pbFormat, source.pbFormat, source.cbFormat);
    target.cbFormat = source.cbFormat;
  }
  if (target.pUnk != nullptr) target.pUnk->AddRef();
  return S_OK;
}

AM_MEDIA_TYPE* CreateMediaTypeCopy(const AM_MEDIA_TYPE& source) noexcept {
  auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (mt == nullptr) return nullptr;
  if (FAILED(CopyMediaType(*mt, source))) {
    CoTaskMemFree(mt);
    return nullptr;
  }
  return mt;
}

bool MatchesPartial(const AM_MEDIA_TYPE& pattern, const AM_MEDIA_TYPE& mt) noexcept {
  if (pattern.majortype != GUID_NULL && pattern.majortype != mt.majortype) return false;
  if (pattern.subtype != GUID_NULL && pattern.subtype != mt.subtype) return false;
  if (pattern.formattype != GUID_NULL && pattern.formattype != mt.formattype) return false;
  return true;
}

bool IsPartialType(const AM_MEDIA_TYPE& mt) noexcept {
  return mt.majortype == GUID_NULL || mt.subtype == GUID_NULL;
}

MediaType::MediaType() noexcept : mt{} {}

MediaType::MediaType(const GUID& major, const GUID& sub) noexcept : mt{} {
  mt.majortype = major;
  mt.subtype = sub;
  mt.formattype = GUID_NULL;
  mt.bFixedSizeSamples = TRUE;
  mt.lSampleSize = 1;
}

MediaType::~MediaType() { FreeMediaTypeContents(mt); }

MediaType::MediaType(const MediaType& other) : mt{} {
  if (FAILED(CopyMediaType(mt, other.mt))) throw std::bad_alloc();
}

MediaType& MediaType::operator=(const MediaType& other) {
  if (this != &other && FAILED(Set(other.mt))) throw std::bad_alloc();
  return *this;
}

HRESULT MediaType::Set(const AM_MEDIA_TYPE& source) noexcept {
  if (&source == &mt) return S_OK;
  AM_MEDIA_TYPE copy{};
  HRESULT hr = CopyMediaType(copy, source);
  if (FAILED(hr)) return hr;
  FreeMediaTypeContents(mt);
  mt = copy;
  return S_OK;
}

void MediaType::Clear() noexcept {
  FreeMediaTypeContents(mt);
  mt = AM_MEDIA_TYPE{};
}

}  // namespace dshow
