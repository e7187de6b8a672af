#pragma once
// A filter with one input and one output pin that turns each sample it
// receives into zero or more samples it delivers. The concrete filter says
// which types it takes and gives, how large its buffers are, and does the
// work in Receive, which runs under the streaming lock.

#include "dshow/BaseFilter.h"
#include "dshow/OutputQueue.h"
#include "dshow/TransformInputPin.h"
#include "dshow/TransformOutputPin.h"

#include <mutex>

namespace dshow {

class TransformFilter : public BaseFilter {
 public:
  // IMediaFilter: streaming starts before the pins become active and ends
  // after they are inactive and the last Receive has returned.
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;

  int PinCount() override { return 2; }
  BasePin* PinAt(int index) override;

  // The media types: what the input takes; what the output offers and takes
  // for the input's type (called only while the input is connected).
  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) = 0;
  virtual HRESULT CheckOutputType(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) = 0;
  virtual HRESULT GetOutputType(const AM_MEDIA_TYPE& input, int position, MediaType& mt) = 0;
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) = 0;

  // A pin's connection is about to be completed (the type is agreed); a
  // failure refuses it.
  virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin);

  // One input sample, on the upstream filter's thread, under the streaming
  // lock. Delivers with DeliverOutput.
  virtual HRESULT Receive(IMediaSample* sample) = 0;
  // Under the streaming lock, before the first and after the last Receive.
  virtual HRESULT StartStreaming();
  virtual void StopStreaming();
  // Flushing ended: forget what belongs to the samples before the flush.
  virtual void OnEndFlush();
  // Default: passed downstream after the samples before it.
  virtual HRESULT EndOfStream();

  // Hands a sample to the output: through the output queue's thread when the
  // filter was made with one, else straight to the input pin downstream.
  HRESULT DeliverOutput(IMediaSample* sample);
  // Input flushing began or ended (called by the input pin).
  HRESULT BeginFlush();
  HRESULT EndFlush();

  TransformInputPin& Input() noexcept { return input; }
  TransformOutputPin& Output() noexcept { return output; }
  std::mutex& StreamLock() noexcept { return streamLock; }

 protected:
  // `queued`: deliver on a thread of the filter's own (see OutputQueue).
  TransformFilter(const CLSID& clsid, const wchar_t* inputName, const wchar_t* outputName,
                  bool queued = false) noexcept;
  ~TransformFilter() override = default;

 private:
  TransformInputPin input;
  TransformOutputPin output;
  std::mutex streamLock;
  const bool queued;
  OutputQueue queue;
};

}  // namespace dshow
