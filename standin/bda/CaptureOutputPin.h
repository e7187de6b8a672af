#pragma once
// The virtual capture's output: the transport stream as it came in.

#include "dshow/OutputPin.h"

namespace standin {

class CaptureOutputPin final : public dshow::OutputPin {
 public:
  explicit CaptureOutputPin(dshow::BaseFilter& filter) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;
};

}  // namespace standin
