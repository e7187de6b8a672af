#include "dshow/TransformOutputPin.h"

#include "win/HResultMacros.h"
#include "dshow/TransformFilter.h"

#include <mutex>

namespace dshow {

TransformOutputPin::TransformOutputPin(TransformFilter& owner, const wchar_t* name) noexcept
    : OutputPin(owner, name), owner(owner) {}

HRESULT TransformOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  std::lock_guard lock(filter.StateLock());
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !owner.Input().IsConnected());
  return owner.CheckOutputType(owner.Input().ConnectionType(), mt);
}

HRESULT TransformOutputPin::GetMediaType(int position, MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  std::lock_guard lock(filter.StateLock());
  // Nothing to offer until the input's type is known.
  if (!owner.Input().IsConnected()) return VFW_S_NO_MORE_ITEMS;
  return owner.GetOutputType(owner.Input().ConnectionType(), position, mt);
}

HRESULT TransformOutputPin::DecideBufferSize(IMemAllocator* allocator,
                                             ALLOCATOR_PROPERTIES& request) {
  return owner.DecideBufferSize(allocator, request);
}

HRESULT TransformOutputPin::CompleteConnect(IPin* receivePin) {
  RETURN_IF_FAILED(owner.CompleteConnect(PINDIR_OUTPUT, receivePin));
  return OutputPin::CompleteConnect(receivePin);
}

}  // namespace dshow
