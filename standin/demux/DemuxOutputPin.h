#pragma once
// An output pin of the demultiplexer: the media type it was created with,
// IMPEG2PIDMap to choose its PIDs, and the delivery of the core's samples
// (a sample larger than a buffer goes on in several).

#include "OutputPin.h"
#include "TsDemuxCore.h"

#include <bdaiface.h>

namespace standin {

class DemuxFilter;

class DemuxOutputPin final : public dshow::OutputPin, public IMPEG2PIDMap {
 public:
  DemuxOutputPin(DemuxFilter& demux, const wchar_t* name, const AM_MEDIA_TYPE& mt, int output);

  DSHOW_FORWARD_PIN_IUNKNOWN(dshow::OutputPin)

  // IPin
  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;

  // IMPEG2PIDMap
  STDMETHODIMP MapPID(ULONG count, ULONG* pids, MEDIA_SAMPLE_CONTENT content) override;
  STDMETHODIMP UnmapPID(ULONG count, ULONG* pids) override;
  STDMETHODIMP EnumPIDMap(IEnumPIDMap** out) override;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // Under the state lock, while not connected.
  HRESULT SetType(const AM_MEDIA_TYPE& mt);
  int OutputId() const noexcept { return output; }

  // On the streaming thread. Failures downstream are the downstream's to
  // report; the other outputs go on.
  void DeliverSample(const DemuxSample& sample);

 protected:
  HRESULT QueryPinInterface(REFIID riid, void** object) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;

 private:
  DemuxFilter& demux;
  const int output;
  dshow::MediaType type;  // under the state lock
  long bufferSize = 0;    // set when connected
};

}  // namespace standin
