#pragma once
// Delivers an output pin's samples on a thread of its own. A renderer holds
// the first sample it gets while the graph is paused; with a queue between,
// the filter upstream is not held with it and can go on feeding its other
// outputs (a demultiplexer that serves video and audio from one thread would
// otherwise never let the second renderer get its first sample).

#include "dshow/OutputPin.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace dshow {

class OutputQueue {
 public:
  explicit OutputQueue(OutputPin& pin) noexcept : pin(pin) {}
  ~OutputQueue() { Stop(); }
  OutputQueue(const OutputQueue&) = delete;
  OutputQueue& operator=(const OutputQueue&) = delete;

  HRESULT Start();
  // Ends the thread; what is still queued is dropped.
  void Stop();

  // Queues a sample (the queue holds a reference). Returns the failure of an
  // earlier delivery, or S_FALSE once downstream asked for no more, so the
  // caller stops as it would with a direct delivery.
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  // Drops what is queued and waits until no delivery is under way; called
  // while downstream flushes, so a delivery under way returns soon.
  void Flush();

 private:
  struct Item {
    Microsoft::WRL::ComPtr<IMediaSample> sample;  // empty: end of stream
  };

  void Loop();

  OutputPin& pin;
  std::mutex lock;
  std::condition_variable changed;
  std::deque<Item> items;
  bool stopping = true;  // until Start
  bool delivering = false;
  HRESULT lastResult = S_OK;
  std::thread worker;
};

}  // namespace dshow
