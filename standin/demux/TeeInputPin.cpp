#include "standin/demux/TeeInputPin.h"

#include "standin/demux/DemuxFailSteps.h"
#include "win/HResultMacros.h"
#include "standin/demux/InfTeeFilter.h"
#include "standin/shared/StandinSettings.h"

namespace standin {

namespace {
constexpr wchar_t kPinName[] = L"Input";
}

TeeInputPin::TeeInputPin(InfTeeFilter& tee) noexcept : InputPin(tee, kPinName), tee(tee) {}

HRESULT TeeInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return tee.AcceptsInputType(mt) ? S_OK : S_FALSE;
}

STDMETHODIMP TeeInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kInfTeeConnect));
  return InputPin::ReceiveConnection(connector, mt);
}
CATCH_RETURN()

STDMETHODIMP TeeInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) try {
  InputPin::NewSegment(start, stop, rate);
  tee.ForEachConnectedOutput([&](TeeOutputPin& pin) { pin.DeliverNewSegment(start, stop, rate); });
  return S_OK;
}
CATCH_RETURN()

// A branch that refuses or fails does not keep the others from their copy.
HRESULT TeeInputPin::OnReceive(IMediaSample* sample) try {
  tee.ForEachConnectedOutput([&](TeeOutputPin& pin) { pin.DeliverCopy(sample); });
  return S_OK;
}
CATCH_RETURN()

HRESULT TeeInputPin::OnBeginFlush() try {
  tee.ForEachConnectedOutput([](TeeOutputPin& pin) { pin.DeliverBeginFlush(); });
  return S_OK;
}
CATCH_RETURN()

HRESULT TeeInputPin::OnEndFlush() try {
  tee.ForEachConnectedOutput([](TeeOutputPin& pin) { pin.DeliverEndFlush(); });
  return S_OK;
}
CATCH_RETURN()

HRESULT TeeInputPin::OnEndOfStream() try {
  tee.ForEachConnectedOutput([](TeeOutputPin& pin) { pin.DeliverEndOfStream(); });
  return S_OK;
}
CATCH_RETURN()

}  // namespace standin
