#pragma once
// The virtual capture's input: each sample from the tuner is copied into a
// sample of the output pin and delivered on the same thread.

#include "dshow/ForwardingInputPin.h"
#include "standin/bda/CaptureOutputPin.h"

namespace standin {

class CaptureInputPin final : public dshow::ForwardingInputPin<CaptureOutputPin> {
 public:
  CaptureInputPin(dshow::BaseFilter& filter, CaptureOutputPin& output) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;
};

}  // namespace standin
