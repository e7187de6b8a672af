#pragma once
// The demultiplexer's input pin "MPEG-2 Stream": a transport stream, as the
// push source, a BDA capture filter or a tee delivers it, in any chunks.

#include "dshow/InputPin.h"

namespace standin {

class DemuxFilter;

class DemuxInputPin final : public dshow::InputPin {
 public:
  explicit DemuxInputPin(DemuxFilter& demux) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // IPin
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

 protected:
  HRESULT CompleteConnect(IPin* receivePin) override;
  void BreakConnect() override;
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;
  HRESULT OnEndOfStream() override;

 private:
  DemuxFilter& demux;
};

}  // namespace standin
