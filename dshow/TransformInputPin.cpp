#include "dshow/TransformInputPin.h"

#include "win/HResultMacros.h"
#include "dshow/TransformFilter.h"

#include <mutex>

namespace dshow {

TransformInputPin::TransformInputPin(TransformFilter& owner, const wchar_t* name) noexcept
    : InputPin(owner, name), owner(owner) {}

HRESULT TransformInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return owner.CheckInputType(mt);
}

HRESULT TransformInputPin::CompleteConnect(IPin* receivePin) {
  RETURN_IF_FAILED(InputPin::CompleteConnect(receivePin));
  return owner.CompleteConnect(PINDIR_INPUT, receivePin);
}

HRESULT TransformInputPin::OnReceive(IMediaSample* sample) {
  std::lock_guard lock(owner.StreamLock());
  return owner.Receive(sample);
}

HRESULT TransformInputPin::OnEndOfStream() {
  std::lock_guard lock(owner.StreamLock());
  return owner.EndOfStream();
}

HRESULT TransformInputPin::OnBeginFlush() { return owner.BeginFlush(); }

HRESULT TransformInputPin::OnEndFlush() { return owner.EndFlush(); }

STDMETHODIMP TransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop,
                                           double rate) {
  RETURN_IF_FAILED(InputPin::NewSegment(start, stop, rate));
  return owner.Output().IsConnected() ? owner.Output().DeliverNewSegment(start, stop, rate)
                                      : S_OK;
}

}  // namespace dshow
