#pragma once
// The virtual tuner's input: it connects to the network provider's antenna
// output and receives nothing that matters (tuning comes as a call).

#include "dshow/InputPin.h"

namespace standin {

class TunerInputPin final : public dshow::InputPin {
 public:
  explicit TunerInputPin(dshow::BaseFilter& filter) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;
};

}  // namespace standin
