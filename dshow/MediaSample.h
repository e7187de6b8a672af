#pragma once
// IMediaSample of our memory allocator: a window on the allocator's memory
// with the sample's flags and times. When its last reference goes, it goes
// back to the allocator.

#include "win/ComObject.h"

#include <windows.h>
#include <strmif.h>

namespace dshow {

class MemAllocator;

class MediaSample final : public ComObject<IMediaSample> {
 public:
  MediaSample(MemAllocator& allocator, BYTE* buffer, long size) noexcept;
  ~MediaSample() override;

  // IMediaSample
  STDMETHODIMP GetPointer(BYTE** buffer) override;
  STDMETHODIMP_(long) GetSize() override;
  STDMETHODIMP GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  STDMETHODIMP SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  STDMETHODIMP IsSyncPoint() override;
  STDMETHODIMP SetSyncPoint(BOOL value) override;
  STDMETHODIMP IsPreroll() override;
  STDMETHODIMP SetPreroll(BOOL value) override;
  STDMETHODIMP_(long) GetActualDataLength() override;
  STDMETHODIMP SetActualDataLength(long length) override;
  STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** type) override;
  STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* type) override;
  STDMETHODIMP IsDiscontinuity() override;
  STDMETHODIMP SetDiscontinuity(BOOL value) override;
  STDMETHODIMP GetMediaTime(LONGLONG* start, LONGLONG* end) override;
  STDMETHODIMP SetMediaTime(LONGLONG* start, LONGLONG* end) override;

  // Clears flags, times and media type and takes the first reference, as
  // the allocator hands the sample out.
  void Reset() noexcept;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;
  // The last reference gives the sample back to its allocator.
  void FinalRelease() override;

 private:
  MemAllocator& allocator;
  BYTE* const buffer;
  const long size;
  long actualLength;
  bool hasStart = false, hasStop = false, hasMediaTime = false;
  bool syncPoint = false, preroll = false, discontinuity = false;
  REFERENCE_TIME start = 0, stop = 0;
  LONGLONG mediaStart = 0, mediaStop = 0;
  AM_MEDIA_TYPE* mediaType = nullptr;
};

}  // namespace dshow
