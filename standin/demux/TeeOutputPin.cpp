#include "standin/demux/TeeOutputPin.h"

#include "standin/demux/DemuxFailSteps.h"
#include "win/HResultMacros.h"
#include "standin/demux/InfTeeFilter.h"
#include "standin/shared/StandinSettings.h"

namespace standin {

TeeOutputPin::TeeOutputPin(InfTeeFilter& tee, const wchar_t* name, dshow::InputPin& source) noexcept
    : CopyingOutputPin(tee, name, source), tee(tee) {}

STDMETHODIMP TeeOutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kInfTeeConnectOutput));
  return CopyingOutputPin::Connect(receivePin, mt);
}
CATCH_RETURN()

// Called under the state lock, as the tee's pin list wants.
HRESULT TeeOutputPin::CompleteConnect(IPin* receivePin) {
  RETURN_IF_FAILED(CopyingOutputPin::CompleteConnect(receivePin));
  return tee.OnOutputConnected();
}

}  // namespace standin
