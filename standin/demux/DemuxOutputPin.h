#pragma once
// An output pin of the demultiplexer: the media type it was created with,
// IMPEG2PIDMap to choose its PIDs, and the delivery of the core's samples
// (a sample larger than a buffer goes on in several).
//
// Each pin delivers on a thread of its own from a queue of its own: a
// renderer that waits for its presentation time holds up only its own pin,
// never the input nor the other pins (a sound renderer's clock may only run
// while it gets sound). A full queue makes a file source wait, so nothing of
// a file is dropped; a live source cannot wait, so there the oldest sample
// of the full queue is dropped and the next one marked as a discontinuity.
//
// A pin of MPEG-2 video reads the sequence headers it delivers: the first
// one, and each that changes the picture size or shape (a channel change),
// gives the pin a type of that size, which goes downstream on that sample
// (IMediaSample::SetMediaType) when the peer accepts it. The type a pin is
// made with can only guess the size: the stream comes later.

#include "dshow/OutputPin.h"
#include "standin/decoders/Mpeg2VideoScanner.h"
#include "standin/demux/TsDemuxCore.h"

#include <bdaiface.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace standin {

class DemuxFilter;

class DemuxOutputPin final : public dshow::OutputPin, public IMPEG2PIDMap {
 public:
  DemuxOutputPin(DemuxFilter& demux, const wchar_t* name, const AM_MEDIA_TYPE& mt, int output);
  ~DemuxOutputPin() override;

  FORWARD_IUNKNOWN_TO(dshow::OutputPin)

  // IPin
  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;

  // IMPEG2PIDMap
  STDMETHODIMP MapPID(ULONG count, ULONG* pids, MEDIA_SAMPLE_CONTENT content) override;
  STDMETHODIMP UnmapPID(ULONG count, ULONG* pids) override;
  STDMETHODIMP EnumPIDMap(IEnumPIDMap** out) override;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // Under the state lock, while not connected.
  HRESULT SetType(const AM_MEDIA_TYPE& mt);
  int OutputId() const noexcept { return output; }

  HRESULT Active() override;
  HRESULT Inactive() override;

  // On the input's streaming thread: queue a sample, or the end of the
  // stream behind the samples queued. Dropped while the pin is inactive or
  // flushing.
  void Enqueue(DemuxSample&& sample, bool live);
  void EnqueueEndOfStream();
  // Around a flush: the queue empties and takes nothing until the flush
  // ends; EndFlushQueue waits until a delivery in progress is over.
  void BeginFlushQueue();
  void EndFlushQueue();

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;

 private:
  struct QueueItem {
    DemuxSample sample;
    bool endOfStream = false;
  };

  void PushItem(QueueItem&& item, bool live);
  void StopWorker();
  void WorkerLoop();
  // Failures downstream are the downstream's to report; the stream goes on.
  void DeliverSample(const DemuxSample& sample);
  // On the worker: the type of the picture size that `sample` brings, when
  // it differs from the last one offered and the peer takes it.
  std::optional<dshow::MediaType> SizeChange(const DemuxSample& sample);

  DemuxFilter& demux;
  const int output;

  std::mutex queueLock;
  std::condition_variable queueChanged;
  std::deque<QueueItem> queue;
  bool accepting = false;  // active and not flushing
  bool stopping = false;
  bool delivering = false;
  long dropped = 0;  // live samples dropped for want of room
  std::thread worker;
  dshow::MediaType type;  // under the state lock
  long bufferSize = 0;    // set when connected
  bool watchSizes = false;  // MPEG-2 video; set while stopped
  // The worker's own: the sequence headers read and the last size offered
  // downstream.
  Mpeg2VideoScanner scanner;
  Mpeg2Sequence reported;
};

}  // namespace standin
