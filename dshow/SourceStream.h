#pragma once
// An output pin with its own worker thread that fills and delivers samples
// for as long as the filter is active. Restart() flushes downstream and starts
// the worker again, as a seek needs.

#include "dshow/OutputPin.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace dshow {

class SourceStream : public OutputPin {
 public:
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Runs `change` with the worker stopped: when the pin streams, flushes
  // downstream, stops the worker, runs `change`, ends the flush and starts the
  // worker again; otherwise just runs `change`.
  template <typename Change>
  HRESULT WithWorkerStopped(Change&& change) {
    std::lock_guard control(controlLock);
    if (!worker.joinable()) {
      change();
      return S_OK;
    }
    DeliverBeginFlush();  // A failure downstream must not keep us from stopping.
    StopWorker();
    change();
    DeliverEndFlush();
    return StartWorker();
  }

  bool IsStreaming() const noexcept { return running.load(); }

 protected:
  SourceStream(BaseFilter& filter, const wchar_t* name) noexcept;
  ~SourceStream() override;

  // Fills one sample; S_OK delivers it, S_FALSE ends the stream (end of
  // stream is sent downstream), a failure aborts streaming with an event.
  virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
  // Called on the worker thread each time it starts delivering.
  virtual HRESULT OnThreadStartPlay();

 private:
  HRESULT StartWorker();
  void StopWorker();
  void WorkerLoop();

  // Serialises starting and stopping the worker; the worker never takes it.
  std::mutex controlLock;
  std::thread worker;
  std::atomic<bool> stopRequested{false};
  std::atomic<bool> running{false};
};

}  // namespace dshow
