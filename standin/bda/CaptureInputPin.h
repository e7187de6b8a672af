#pragma once
// The virtual capture's input: each sample from the tuner is copied into a
// sample of the output pin and delivered on the same thread.

#include "dshow/InputPin.h"

namespace standin {

class CaptureOutputPin;

class CaptureInputPin final : public dshow::InputPin {
 public:
  CaptureInputPin(dshow::BaseFilter& filter, CaptureOutputPin& output) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;
  HRESULT OnEndOfStream() override;

 private:
  CaptureOutputPin& output;
};

}  // namespace standin
