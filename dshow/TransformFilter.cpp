#include "TransformFilter.h"

#include "HResultMacros.h"

namespace dshow {

TransformFilter::TransformFilter(const CLSID& clsid, const wchar_t* inputName,
                                 const wchar_t* outputName) noexcept
    : BaseFilter(clsid), input(*this, inputName), output(*this, outputName) {}

BasePin* TransformFilter::PinAt(int index) {
  if (index == 0) return &input;
  if (index == 1) return &output;
  return nullptr;
}

// The pins go inactive first: the input refuses new samples and the output's
// allocator is decommitted, which releases a Receive waiting for a buffer.
// Only then is the streaming lock free to take.
STDMETHODIMP TransformFilter::Stop() {
  const bool wasStopped = IsStopped();
  HRESULT hr = BaseFilter::Stop();
  if (!wasStopped) {
    std::lock_guard lock(streamLock);
    StopStreaming();
  }
  return hr;
}

STDMETHODIMP TransformFilter::Pause() {
  if (IsStopped()) {
    std::lock_guard lock(streamLock);
    RETURN_IF_FAILED(StartStreaming());
  }
  HRESULT hr = BaseFilter::Pause();
  if (FAILED(hr)) {
    std::lock_guard lock(streamLock);
    StopStreaming();
  }
  return hr;
}

HRESULT TransformFilter::CompleteConnect(PIN_DIRECTION, IPin*) { return S_OK; }
HRESULT TransformFilter::StartStreaming() { return S_OK; }
void TransformFilter::StopStreaming() {}
void TransformFilter::OnEndFlush() {}

HRESULT TransformFilter::EndOfStream() { return output.DeliverEndOfStream(); }

}  // namespace dshow
