#pragma once
// An output of the pin tee, "Output1", "Output2"...: a copying output that
// tells the tee when it connects, so that a new free output appears.

#include "standin/demux/CopyingOutputPin.h"

namespace standin {

class InfTeeFilter;

class TeeOutputPin final : public CopyingOutputPin {
 public:
  TeeOutputPin(InfTeeFilter& tee, const wchar_t* name, dshow::InputPin& source) noexcept;

  // IPin
  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;

 protected:
  HRESULT CompleteConnect(IPin* receivePin) override;

 private:
  InfTeeFilter& tee;
};

}  // namespace standin
