#pragma once
// IMediaSample of our memory allocator: a window on the allocator's memory
// with the sample's flags and times. When its last reference goes, it goes
// back to the allocator.

#include <windows.h>
#include <strmif.h>

#include <atomic>

namespace dshow {

class MemAllocator;

class MediaSample final : public IMediaSample {
 public:
  MediaSample(MemAllocator& allocator, BYTE* buffer, long size) noexcept;
  ~MediaSample();
  MediaSample(const MediaSample&) = delete;
  MediaSample& operator=(const MediaSample&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

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

 private:
  MemAllocator& allocator;
  BYTE* const buffer;
  const long size;
  std::atomic<ULONG> refCount{0};
  long actualLength;
  bool hasStart = false, hasStop = false, hasMediaTime = false;
  bool syncPoint = false, preroll = false, discontinuity = false;
  REFERENCE_TIME start = 0, stop = 0;
  LONGLONG mediaStart = 0, mediaStop = 0;
  AM_MEDIA_TYPE* mediaType = nullptr;
};

}  // namespace dshow
