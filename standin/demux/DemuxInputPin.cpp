#include "standin/demux/DemuxInputPin.h"

#include "standin/demux/DemuxFailSteps.h"
#include "standin/demux/DemuxFilter.h"
#include "standin/demux/DemuxGuids.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"

#include <uuids.h>

namespace standin {

namespace {
constexpr wchar_t kPinName[] = L"MPEG-2 Stream";
}

DemuxInputPin::DemuxInputPin(DemuxFilter& demux) noexcept : InputPin(demux, kPinName), demux(demux) {}

// A byte stream of transport packets, under the subtype of a file source or
// that of a BDA capture filter.
HRESULT DemuxInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Stream) return S_FALSE;
  return mt.subtype == MEDIASUBTYPE_MPEG2_TRANSPORT || mt.subtype == kSubtypeBdaMpeg2Transport
             ? S_OK
             : S_FALSE;
}

HRESULT DemuxInputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt = dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT);
  return S_OK;
}

STDMETHODIMP DemuxInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxConnect));
  return InputPin::ReceiveConnection(connector, mt);
}
CATCH_RETURN()

HRESULT DemuxInputPin::CompleteConnect(IPin* receivePin) try {
  RETURN_IF_FAILED(InputPin::CompleteConnect(receivePin));
  return demux.OnInputConnected();
}
CATCH_RETURN()

void DemuxInputPin::BreakConnect() {
  InputPin::BreakConnect();
  demux.OnInputDisconnected();
}

STDMETHODIMP DemuxInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) try {
  InputPin::NewSegment(start, stop, rate);
  demux.NewSegment(start, stop, rate);
  return S_OK;
}
CATCH_RETURN()

HRESULT DemuxInputPin::OnReceive(IMediaSample* sample) try {
  return demux.Receive(sample);
}
CATCH_RETURN()

HRESULT DemuxInputPin::OnBeginFlush() try {
  demux.BeginFlush();
  return S_OK;
}
CATCH_RETURN()

HRESULT DemuxInputPin::OnEndFlush() try {
  demux.EndFlush();
  return S_OK;
}
CATCH_RETURN()

HRESULT DemuxInputPin::OnEndOfStream() try {
  demux.EndOfStream();
  return S_OK;
}
CATCH_RETURN()

}  // namespace standin
