#pragma once
// The push source's output pin "Out": fills 51200-byte samples from the file
// on its worker thread, without end, and owns the seeking object.

#include "dshow/SourceStream.h"
#include "tssource/TsSourceSeeking.h"

#include <atomic>

namespace tssource {

class SourceFile;

class TsSourcePin final : public dshow::SourceStream {
 public:
  TsSourcePin(dshow::BaseFilter& filter, SourceFile& file) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  IMediaSeeking* Seeking() noexcept { return &seeking; }

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  HRESULT OnThreadStartPlay() override;

 private:
  SourceFile& file;
  TsSourceSeeking seeking;
  std::atomic<bool> discontinuityPending{false};
};

}  // namespace tssource
