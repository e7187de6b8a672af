#include "dshow/OutputPin.h"

#include "dshow/BaseFilter.h"
#include "win/HResultMacros.h"

#include <uuids.h>

#include <mutex>

namespace dshow {

using Microsoft::WRL::ComPtr;

OutputPin::OutputPin(BaseFilter& filter, const wchar_t* name) noexcept
    : BasePin(filter, name, PINDIR_OUTPUT) {}

STDMETHODIMP OutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF_NULL(E_POINTER, receivePin);
  std::lock_guard lock(filter.StateLock());
  RETURN_HR_IF(VFW_E_ALREADY_CONNECTED, connected != nullptr);
  RETURN_HR_IF(VFW_E_NOT_STOPPED, filter.State() != State_Stopped);

  if (mt != nullptr && !IsPartialType(*mt)) return AttemptConnection(receivePin, *mt);

  // Our own types first, then the ones the other pin proposes.
  ComPtr<IEnumMediaTypes> ours;
  RETURN_IF_FAILED(EnumMediaTypes(&ours));
  if (SUCCEEDED(TryMediaTypes(receivePin, mt, ours.Get()))) return S_OK;
  ComPtr<IEnumMediaTypes> theirs;
  if (SUCCEEDED(receivePin->EnumMediaTypes(&theirs)) &&
      SUCCEEDED(TryMediaTypes(receivePin, mt, theirs.Get()))) {
    return S_OK;
  }
  return VFW_E_NO_ACCEPTABLE_TYPES;
}
CATCH_RETURN()

HRESULT OutputPin::TryMediaTypes(IPin* receivePin, const AM_MEDIA_TYPE* pattern,
                                 IEnumMediaTypes* types) {
  AM_MEDIA_TYPE* candidate = nullptr;
  while (types->Next(1, &candidate, nullptr) == S_OK) {
    const bool fits = pattern == nullptr || MatchesPartial(*pattern, *candidate);
    HRESULT hr = fits ? AttemptConnection(receivePin, *candidate) : E_FAIL;
    DeleteMediaType(candidate);
    candidate = nullptr;
    if (SUCCEEDED(hr)) return hr;
  }
  return VFW_E_NO_ACCEPTABLE_TYPES;
}

HRESULT OutputPin::AttemptConnection(IPin* receivePin, const AM_MEDIA_TYPE& mt) {
  RETURN_HR_IF(VFW_E_TYPE_NOT_ACCEPTED, CheckMediaType(mt) != S_OK);
  RETURN_IF_FAILED(SetConnection(receivePin, mt));
  HRESULT hr = receivePin->ReceiveConnection(this, &mt);
  if (FAILED(hr)) {
    ClearConnection();
    return hr;
  }
  hr = CompleteConnect(receivePin);
  if (FAILED(hr)) {
    receivePin->Disconnect();  // Its own result does not change the outcome.
    BreakConnect();
    ClearConnection();
    return hr;
  }
  return S_OK;
}

STDMETHODIMP OutputPin::ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) { return E_UNEXPECTED; }
STDMETHODIMP OutputPin::EndOfStream() { return E_UNEXPECTED; }
STDMETHODIMP OutputPin::BeginFlush() { return E_UNEXPECTED; }
STDMETHODIMP OutputPin::EndFlush() { return E_UNEXPECTED; }

HRESULT OutputPin::CompleteConnect(IPin* receivePin) {
  ComPtr<IMemInputPin> memInput;
  RETURN_IF_FAILED(ComPtr<IPin>(receivePin).As(&memInput));
  RETURN_IF_FAILED(DecideAllocator(memInput.Get()));
  input = memInput;
  return S_OK;
}

void OutputPin::BreakConnect() {
  if (allocator) allocator->Decommit();  // Nothing to do if it fails.
  allocator.Reset();
  input.Reset();
}

// The input pin's own allocator first, then the system memory allocator.
HRESULT OutputPin::DecideAllocator(IMemInputPin* memInput) {
  ALLOCATOR_PROPERTIES request{};
  // Not every input pin states requirements; zeros mean "no wish".
  memInput->GetAllocatorRequirements(&request);

  ComPtr<IMemAllocator> theirs;
  if (SUCCEEDED(memInput->GetAllocator(&theirs)) &&
      SUCCEEDED(InitAllocator(memInput, theirs.Get(), request, false))) {
    return S_OK;
  }
  ComPtr<IMemAllocator> ours;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&ours)));
  return InitAllocator(memInput, ours.Get(), request, false);
}

HRESULT OutputPin::InitAllocator(IMemInputPin* memInput, IMemAllocator* candidate,
                                 ALLOCATOR_PROPERTIES request, bool readOnly) {
  RETURN_IF_FAILED(DecideBufferSize(candidate, request));
  ALLOCATOR_PROPERTIES actual{};
  RETURN_IF_FAILED(candidate->SetProperties(&request, &actual));
  RETURN_HR_IF(E_FAIL, actual.cbBuffer < request.cbBuffer || actual.cBuffers < 1);
  RETURN_IF_FAILED(memInput->NotifyAllocator(candidate, readOnly ? TRUE : FALSE));
  allocator = candidate;
  return S_OK;
}

HRESULT OutputPin::Active() {
  RETURN_HR_IF(VFW_E_NO_ALLOCATOR, !allocator);
  return allocator->Commit();
}

HRESULT OutputPin::Inactive() {
  RETURN_HR_IF(VFW_E_NO_ALLOCATOR, !allocator);
  return allocator->Decommit();
}

HRESULT OutputPin::GetDeliveryBuffer(IMediaSample** sample) {
  RETURN_HR_IF(VFW_E_NO_ALLOCATOR, !allocator);
  return allocator->GetBuffer(sample, nullptr, nullptr, 0);
}

HRESULT OutputPin::Deliver(IMediaSample* sample) {
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !input);
  return input->Receive(sample);
}

HRESULT OutputPin::DeliverEndOfStream() {
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !connected);
  return connected->EndOfStream();
}

HRESULT OutputPin::DeliverBeginFlush() {
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !connected);
  return connected->BeginFlush();
}

HRESULT OutputPin::DeliverEndFlush() {
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !connected);
  return connected->EndFlush();
}

HRESULT OutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !connected);
  return connected->NewSegment(start, stop, rate);
}

}  // namespace dshow
