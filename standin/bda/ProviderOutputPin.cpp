#include "standin/bda/ProviderOutputPin.h"

#include <algorithm>

#include "standin/bda/BdaGuids.h"
#include "win/HResultMacros.h"
#include "dshow/InfoOwners.h"
#include "standin/bda/NetworkProvider.h"

namespace standin {

ProviderOutputPin::ProviderOutputPin(NetworkProvider& provider) noexcept
    : OutputPin(provider, L"Antenna Out"), provider(provider) {}

HRESULT ProviderOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == kMediaTypeBdaAntenna ? S_OK : S_FALSE;
}

HRESULT ProviderOutputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt = dshow::MediaType(kMediaTypeBdaAntenna, GUID_NULL);
  return S_OK;
}

HRESULT ProviderOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  request.cBuffers = std::max<long>(request.cBuffers, 1);
  request.cbBuffer = std::max<long>(request.cbBuffer, 1);
  request.cbAlign = std::max<long>(request.cbAlign, 1);
  return S_OK;
}

// A request put before the tuner was connected reaches it now. A tuner that
// refuses it does not undo the connection: the request stays to be retried.
HRESULT ProviderOutputPin::CompleteConnect(IPin* receivePin) {
  RETURN_IF_FAILED(OutputPin::CompleteConnect(receivePin));
  dshow::PinInfoOwner info;
  if (SUCCEEDED(receivePin->QueryPinInfo(&info)) && info.pFilter != nullptr) {
    provider.TunerConnected(info.pFilter);  // see above
  }
  return S_OK;
}

HRESULT ProviderOutputPin::ConnectedFilter(IBaseFilter** filter) {
  RETURN_HR_IF_NULL(E_POINTER, filter);
  *filter = nullptr;
  Microsoft::WRL::ComPtr<IPin> other;
  RETURN_IF_FAILED(ConnectedTo(&other));
  dshow::PinInfoOwner info;
  RETURN_IF_FAILED(other->QueryPinInfo(&info));
  RETURN_HR_IF_NULL(E_UNEXPECTED, info.pFilter);
  *filter = info.pFilter;
  (*filter)->AddRef();
  return S_OK;
}

}  // namespace standin
