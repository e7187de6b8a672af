#include "dshow/TransformFilter.h"

#include "win/HResultMacros.h"

namespace dshow {

TransformFilter::TransformFilter(const CLSID& clsid, const wchar_t* inputName,
                                 const wchar_t* outputName, bool queued) noexcept
    : BaseFilter(clsid),
      input(*this, inputName),
      output(*this, outputName),
      queued(queued),
      queue(output) {}

BasePin* TransformFilter::PinAt(int index) {
  if (index == 0) return &input;
  if (index == 1) return &output;
  return nullptr;
}

// The pins go inactive first: the input refuses new samples and the output's
// allocator is decommitted, which releases a Receive waiting for a buffer.
// Only then is the streaming lock free to take.
// The queue's thread ends before streaming does: its delivery was released
// when the renderer downstream stopped or the allocator was decommitted.
STDMETHODIMP TransformFilter::Stop() {
  const bool wasStopped = IsStopped();
  HRESULT hr = BaseFilter::Stop();
  if (!wasStopped) {
    if (queued) queue.Stop();
    std::lock_guard lock(streamLock);
    StopStreaming();
  }
  return hr;
}

STDMETHODIMP TransformFilter::Pause() {
  if (IsStopped()) {
    if (queued) RETURN_IF_FAILED(queue.Start());
    std::lock_guard lock(streamLock);
    RETURN_IF_FAILED(StartStreaming());
  }
  HRESULT hr = BaseFilter::Pause();
  if (FAILED(hr)) {
    if (queued) queue.Stop();
    std::lock_guard lock(streamLock);
    StopStreaming();
  }
  return hr;
}

HRESULT TransformFilter::DeliverOutput(IMediaSample* sample) {
  return queued ? queue.Deliver(sample) : output.Deliver(sample);
}

// Downstream is told first, so that a delivery blocked there returns and
// frees the streaming lock and the queue.
HRESULT TransformFilter::BeginFlush() {
  if (!output.IsConnected()) return S_OK;
  const HRESULT hr = output.DeliverBeginFlush();
  if (queued) queue.Flush();
  return hr;
}

// A Receive under way when the flush began may have queued output after
// BeginFlush emptied the queue, and downstream, flushing, refused it. That
// output and that refusal belong to the flush: the queue drops both before
// downstream ends its flush, or the refusal would turn away the first
// samples after it. (The stream lock waits out that Receive; the input
// refuses new ones until the flush ends.)
HRESULT TransformFilter::EndFlush() {
  {
    std::lock_guard lock(streamLock);
    OnEndFlush();
  }
  if (queued) queue.Flush();
  return output.IsConnected() ? output.DeliverEndFlush() : S_OK;
}

HRESULT TransformFilter::CompleteConnect(PIN_DIRECTION, IPin*) { return S_OK; }
HRESULT TransformFilter::StartStreaming() { return S_OK; }
void TransformFilter::StopStreaming() {}
void TransformFilter::OnEndFlush() {}

HRESULT TransformFilter::EndOfStream() {
  return queued ? queue.DeliverEndOfStream() : output.DeliverEndOfStream();
}

}  // namespace dshow
