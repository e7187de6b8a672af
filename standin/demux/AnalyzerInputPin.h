#pragma once
// The video stream analyser's input pin: MPEG-2 video, handed unchanged to
// the output pin with flushes, segments and the end of the stream.

#include "standin/demux/CopyingOutputPin.h"
#include "dshow/ForwardingInputPin.h"

namespace standin {

class AnalyzerInputPin final : public dshow::ForwardingInputPin<CopyingOutputPin> {
 public:
  AnalyzerInputPin(dshow::BaseFilter& filter, CopyingOutputPin& output) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // IPin
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;
};

}  // namespace standin
