#pragma once
// The pin tee's input: takes any media type (while no output is connected;
// afterwards the type the outputs carry) and hands every sample to every
// connected output.

#include "dshow/InputPin.h"

namespace standin {

class InfTeeFilter;

class TeeInputPin final : public dshow::InputPin {
 public:
  explicit TeeInputPin(InfTeeFilter& tee) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;

  // IPin
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;
  HRESULT OnEndOfStream() override;

 private:
  InfTeeFilter& tee;
};

}  // namespace standin
