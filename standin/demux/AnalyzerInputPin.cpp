#include "standin/demux/AnalyzerInputPin.h"

#include "standin/demux/DemuxFailSteps.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"

#include <uuids.h>

namespace standin {

namespace {
constexpr wchar_t kPinName[] = L"Input";
}

AnalyzerInputPin::AnalyzerInputPin(dshow::BaseFilter& filter, CopyingOutputPin& output) noexcept
    : ForwardingInputPin(filter, kPinName, output) {}

HRESULT AnalyzerInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Video && mt.subtype == MEDIASUBTYPE_MPEG2_VIDEO ? S_OK : S_FALSE;
}

HRESULT AnalyzerInputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt = dshow::MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO);
  return S_OK;
}

STDMETHODIMP AnalyzerInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kAnalyzerConnect));
  return InputPin::ReceiveConnection(connector, mt);
}
CATCH_RETURN()

// Without a connected output the video simply ends here.
HRESULT AnalyzerInputPin::OnReceive(IMediaSample* sample) {
  if (!output.IsConnected()) return S_OK;
  return output.DeliverCopy(sample);
}

}  // namespace standin
