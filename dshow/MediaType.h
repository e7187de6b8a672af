#pragma once
// Owner of an AM_MEDIA_TYPE and the helpers that copy and free the ones that
// DirectShow hands around in task memory.

#include <windows.h>
#include <strmif.h>

namespace dshow {

// Frees the format block and the held interface of a media type, leaving the
// structure itself alone.
void FreeMediaTypeContents(AM_MEDIA_TYPE& mt) noexcept;

// Frees a media type allocated with CoTaskMemAlloc, contents included.
void DeleteMediaType(AM_MEDIA_TYPE* mt) noexcept;

// Deep copy: the format block is duplicated, the interface AddRef'd.
HRESULT CopyMediaType(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source) noexcept;

// A deep copy in task memory, as IEnumMediaTypes hands them out.
AM_MEDIA_TYPE* CreateMediaTypeCopy(const AM_MEDIA_TYPE& source) noexcept;

// True when `pattern` leaves major type, subtype or format type as GUID_NULL
// or names the same as `mt`.
bool MatchesPartial(const AM_MEDIA_TYPE& pattern, const AM_MEDIA_TYPE& mt) noexcept;

bool IsPartialType(const AM_MEDIA_TYPE& mt) noexcept;

class MediaType {
 public:
  MediaType() noexcept;
  MediaType(const GUID& major, const GUID& sub) noexcept;
  ~MediaType();
  MediaType(const MediaType& other);
  MediaType& operator=(const MediaType& other);

  HRESULT Set(const AM_MEDIA_TYPE& source) noexcept;
  void Clear() noexcept;

  AM_MEDIA_TYPE* Get() noexcept { return &mt; }
  const AM_MEDIA_TYPE* Get() const noexcept { return &mt; }
  const AM_MEDIA_TYPE& operator*() const noexcept { return mt; }
  const AM_MEDIA_TYPE* operator->() const noexcept { return &mt; }

 private:
  AM_MEDIA_TYPE mt;
};

}  // namespace dshow
