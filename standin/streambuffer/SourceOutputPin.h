#pragma once
// An output pin of the stream-buffer source: the type the filter gives it
// (the demultiplexer's types, so the same decoders connect) and a queue with
// a delivery thread of its own, so that a renderer holding its first sample
// while paused holds up only its own pin.

#include "dshow/OutputPin.h"
#include "dshow/OutputQueue.h"

#include <mutex>

namespace standin {

class SourceOutputPin final : public dshow::OutputPin {
 public:
  SourceOutputPin(dshow::BaseFilter& filter, const wchar_t* name, bool video);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // Under the state lock; a connected pin keeps the type it connected with.
  HRESULT SetType(const AM_MEDIA_TYPE& mt);

  HRESULT Active() override;
  HRESULT Inactive() override;

  bool IsVideo() const { return video; }
  // From the reader thread.
  HRESULT Queue(IMediaSample* sample) { return queue.Deliver(sample); }
  HRESULT QueueEndOfStream() { return queue.DeliverEndOfStream(); }
  // From the thread that seeks: drops what is queued; downstream flushes.
  void BeginFlushQueue();
  void EndFlushQueue();

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;

 private:
  const bool video;
  dshow::MediaType type;
  dshow::OutputQueue queue;
};

}  // namespace standin
