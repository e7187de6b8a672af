#include "standin/demux/TifInputPin.h"

#include "standin/demux/DemuxFailSteps.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"

#include <uuids.h>

namespace standin {

namespace {
constexpr wchar_t kPinName[] = L"Input";
}

TifInputPin::TifInputPin(dshow::BaseFilter& filter) noexcept : InputPin(filter, kPinName) {}

// Table sections of any kind. Only sections: the suite connects the
// demultiplexer to this filter by the first free pin that connects, and the
// video and audio pins must stay free for the decoders.
HRESULT TifInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_MPEG2_SECTIONS ? S_OK : S_FALSE;
}

HRESULT TifInputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt = dshow::MediaType(MEDIATYPE_MPEG2_SECTIONS, MEDIASUBTYPE_MPEG2DATA);
  return S_OK;
}

STDMETHODIMP TifInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kTifConnect));
  return InputPin::ReceiveConnection(connector, mt);
}
CATCH_RETURN()

HRESULT TifInputPin::OnReceive(IMediaSample*) {
  ++sections;
  return S_OK;
}

}  // namespace standin
