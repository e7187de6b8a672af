#pragma once
// The counting sink's input: any transport stream, counted as it arrives.

#include "dshow/InputPin.h"
#include "StreamCounter.h"

class CountingSinkPin final : public dshow::InputPin {
 public:
  CountingSinkPin(dshow::BaseFilter& filter, StreamCounter& counter) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  StreamCounter& counter;
};
