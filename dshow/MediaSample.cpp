#include "dshow/MediaSample.h"

#include "win/HResultMacros.h"
#include "dshow/MediaType.h"
#include "dshow/MemAllocator.h"

#include <vfwmsgs.h>

namespace dshow {

MediaSample::MediaSample(MemAllocator& allocator, BYTE* buffer, long size) noexcept
    : allocator(allocator), buffer(buffer), size(size), actualLength(size) {}

MediaSample::~MediaSample() { DeleteMediaType(mediaType); }

void MediaSample::Reset() noexcept {
  actualLength = size;
  hasStart = hasStop = hasMediaTime = false;
  syncPoint = preroll = discontinuity = false;
  DeleteMediaType(mediaType);
  mediaType = nullptr;
  RestartCount(1);
}

HRESULT MediaSample::QueryOwnInterface(REFIID riid, void** object) {
  IMediaSample* self = this;
  return HandOutInterface(riid, object, {{IID_IUnknown, self}, {IID_IMediaSample, self}});
}

void MediaSample::FinalRelease() { allocator.ReleaseBuffer(this); }

STDMETHODIMP MediaSample::GetPointer(BYTE** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = buffer;
  return S_OK;
}

STDMETHODIMP_(long) MediaSample::GetSize() { return size; }

STDMETHODIMP MediaSample::GetTime(REFERENCE_TIME* outStart, REFERENCE_TIME* outStop) {
  RETURN_HR_IF_NULL(E_POINTER, outStart);
  RETURN_HR_IF_NULL(E_POINTER, outStop);
  RETURN_HR_IF(VFW_E_SAMPLE_TIME_NOT_SET, !hasStart);
  *outStart = start;
  if (!hasStop) {
    *outStop = start + 1;
    return VFW_S_NO_STOP_TIME;
  }
  *outStop = stop;
  return S_OK;
}

STDMETHODIMP MediaSample::SetTime(REFERENCE_TIME* newStart, REFERENCE_TIME* newStop) {
  hasStart = newStart != nullptr;
  hasStop = hasStart && newStop != nullptr;
  if (hasStart) start = *newStart;
  if (hasStop) stop = *newStop;
  return S_OK;
}

STDMETHODIMP MediaSample::IsSyncPoint() { return syncPoint ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetSyncPoint(BOOL value) {
  syncPoint = value != FALSE;
  return S_OK;
}

STDMETHODIMP MediaSample::IsPreroll() { return preroll ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetPreroll(BOOL value) {
  preroll = value != FALSE;
  return S_OK;
}

STDMETHODIMP_(long) MediaSample::GetActualDataLength() { return actualLength; }

STDMETHODIMP MediaSample::SetActualDataLength(long length) {
  RETURN_HR_IF(VFW_E_BUFFER_OVERFLOW, length < 0 || length > size);
  actualLength = length;
  return S_OK;
}

STDMETHODIMP MediaSample::GetMediaType(AM_MEDIA_TYPE** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  if (mediaType == nullptr) return S_FALSE;
  *out = CreateMediaTypeCopy(*mediaType);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP MediaSample::SetMediaType(AM_MEDIA_TYPE* type) {
  AM_MEDIA_TYPE* copy = nullptr;
  if (type != nullptr) {
    copy = CreateMediaTypeCopy(*type);
    RETURN_HR_IF_NULL(E_OUTOFMEMORY, copy);
  }
  DeleteMediaType(mediaType);
  mediaType = copy;
  return S_OK;
}

STDMETHODIMP MediaSample::IsDiscontinuity() { return discontinuity ? S_OK : S_FALSE; }
STDMETHODIMP MediaSample::SetDiscontinuity(BOOL value) {
  discontinuity = value != FALSE;
  return S_OK;
}

STDMETHODIMP MediaSample::GetMediaTime(LONGLONG* outStart, LONGLONG* outStop) {
  RETURN_HR_IF_NULL(E_POINTER, outStart);
  RETURN_HR_IF_NULL(E_POINTER, outStop);
  RETURN_HR_IF(VFW_E_MEDIA_TIME_NOT_SET, !hasMediaTime);
  *outStart = mediaStart;
  *outStop = mediaStop;
  return S_OK;
}

STDMETHODIMP MediaSample::SetMediaTime(LONGLONG* newStart, LONGLONG* newStop) {
  hasMediaTime = newStart != nullptr && newStop != nullptr;
  if (hasMediaTime) {
    mediaStart = *newStart;
    mediaStop = *newStop;
  }
  return S_OK;
}

}  // namespace dshow
