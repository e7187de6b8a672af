#include "dshow/InputPin.h"

#include "dshow/BaseFilter.h"
#include "win/HResultMacros.h"
#include "dshow/MemAllocator.h"

#include <uuids.h>

#include <mutex>

namespace dshow {

InputPin::InputPin(BaseFilter& filter, const wchar_t* name) noexcept
    : BasePin(filter, name, PINDIR_INPUT) {}

HRESULT InputPin::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IMemInputPin) return HandOut(static_cast<IMemInputPin*>(this), object);
  return BasePin::QueryOwnInterface(riid, object);
}

STDMETHODIMP InputPin::Connect(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }

STDMETHODIMP InputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF_NULL(E_POINTER, connector);
  RETURN_HR_IF_NULL(E_POINTER, mt);
  std::lock_guard lock(filter.StateLock());
  RETURN_HR_IF(VFW_E_ALREADY_CONNECTED, connected != nullptr);
  RETURN_HR_IF(VFW_E_NOT_STOPPED, filter.State() != State_Stopped);
  PIN_DIRECTION otherDirection;
  RETURN_IF_FAILED(connector->QueryDirection(&otherDirection));
  RETURN_HR_IF(VFW_E_INVALID_DIRECTION, otherDirection == PINDIR_INPUT);
  RETURN_HR_IF(VFW_E_TYPE_NOT_ACCEPTED, CheckMediaType(*mt) != S_OK);
  RETURN_IF_FAILED(SetConnection(connector, *mt));
  HRESULT hr = CompleteConnect(connector);
  if (FAILED(hr)) {
    BreakConnect();
    ClearConnection();
  }
  return hr;
}
CATCH_RETURN()

void InputPin::BreakConnect() { allocator.Reset(); }

STDMETHODIMP InputPin::EndOfStream() try {
  if (flushing) return S_FALSE;
  return OnEndOfStream();
}
CATCH_RETURN()

STDMETHODIMP InputPin::BeginFlush() try {
  flushing = true;
  return OnBeginFlush();
}
CATCH_RETURN()

STDMETHODIMP InputPin::EndFlush() {
  const HRESULT hr = CallCatchingExceptions([this] { return OnEndFlush(); });
  flushing = false;
  return hr;
}

HRESULT InputPin::OnBeginFlush() { return S_OK; }
HRESULT InputPin::OnEndFlush() { return S_OK; }
HRESULT InputPin::OnEndOfStream() { return S_OK; }

STDMETHODIMP InputPin::GetAllocator(IMemAllocator** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  std::lock_guard lock(filter.StateLock());
  if (!allocator) RETURN_IF_FAILED(MemAllocator::CreateInstance(&allocator));
  return allocator.CopyTo(out);
}

STDMETHODIMP InputPin::NotifyAllocator(IMemAllocator* newAllocator, BOOL) {
  RETURN_HR_IF_NULL(E_POINTER, newAllocator);
  std::lock_guard lock(filter.StateLock());
  allocator = newAllocator;
  return S_OK;
}

STDMETHODIMP InputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

STDMETHODIMP InputPin::Receive(IMediaSample* sample) try {
  RETURN_HR_IF_NULL(E_POINTER, sample);
  if (flushing) return S_FALSE;
  RETURN_HR_IF(VFW_E_WRONG_STATE, !streaming);
  return OnReceive(sample);
}
CATCH_RETURN()

STDMETHODIMP InputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed) {
  RETURN_HR_IF_NULL(E_POINTER, samples);
  RETURN_HR_IF_NULL(E_POINTER, processed);
  *processed = 0;
  HRESULT hr = S_OK;
  while (*processed < count) {
    hr = Receive(samples[*processed]);
    if (hr != S_OK) break;
    ++*processed;
  }
  return hr;
}

STDMETHODIMP InputPin::ReceiveCanBlock() { return S_OK; }

HRESULT InputPin::Active() {
  streaming = true;
  return S_OK;
}

HRESULT InputPin::Inactive() {
  streaming = false;
  return S_OK;
}

}  // namespace dshow
