#pragma once
// An input pin whose filter passes the stream on through one output pin:
// segments, flushes and the end of the stream go downstream as they come,
// while the output is connected (else they end here). The concrete pin
// handles the samples in OnReceive.

#include "dshow/InputPin.h"
#include "dshow/OutputPin.h"

namespace dshow {

template <typename Output>
class ForwardingInputPin : public InputPin {
 public:
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override {
    InputPin::NewSegment(start, stop, rate);  // only records the values
    return output.IsConnected() ? output.DeliverNewSegment(start, stop, rate) : S_OK;
  }

 protected:
  ForwardingInputPin(BaseFilter& filter, const wchar_t* name, Output& output) noexcept
      : InputPin(filter, name), output(output) {}

  HRESULT OnBeginFlush() override {
    return output.IsConnected() ? output.DeliverBeginFlush() : S_OK;
  }
  HRESULT OnEndFlush() override {
    return output.IsConnected() ? output.DeliverEndFlush() : S_OK;
  }
  HRESULT OnEndOfStream() override {
    return output.IsConnected() ? output.DeliverEndOfStream() : S_OK;
  }

  Output& output;
};

}  // namespace dshow
