#include "standin/bda/TunerInputPin.h"

#include "standin/bda/BdaGuids.h"

namespace standin {

TunerInputPin::TunerInputPin(dshow::BaseFilter& filter) noexcept : InputPin(filter, L"Input0") {}

HRESULT TunerInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == kMediaTypeBdaAntenna ? S_OK : S_FALSE;
}

HRESULT TunerInputPin::OnReceive(IMediaSample*) { return S_OK; }

}  // namespace standin
