#pragma once
// An output pin that passes on what its filter's input pin receives: it
// offers the input's media type and delivers a copy of each sample, time
// stamps and flags included (split over several buffers when a buffer is
// smaller). Used by the video stream analyser and the pin tee.

#include "dshow/InputPin.h"
#include "dshow/OutputPin.h"

namespace standin {

class CopyingOutputPin : public dshow::OutputPin {
 public:
  CopyingOutputPin(dshow::BaseFilter& filter, const wchar_t* name, dshow::InputPin& source) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // On the streaming thread: S_OK, or what the downstream pin answered.
  HRESULT DeliverCopy(IMediaSample* sample);

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;

 private:
  HRESULT SourceType(dshow::MediaType& mt);

  dshow::InputPin& source;
};

}  // namespace standin
