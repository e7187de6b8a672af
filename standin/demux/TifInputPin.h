#pragma once
// The transport information filter's input pin: the demultiplexer's table
// sections, which it takes and counts.

#include "dshow/InputPin.h"

#include <atomic>

namespace standin {

class TifInputPin final : public dshow::InputPin {
 public:
  explicit TifInputPin(dshow::BaseFilter& filter) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // IPin
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;

  long SectionsReceived() const noexcept { return sections.load(); }

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  std::atomic<long> sections{0};
};

}  // namespace standin
