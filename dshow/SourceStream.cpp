#include "dshow/SourceStream.h"

#include "dshow/BaseFilter.h"
#include "win/ComScope.h"
#include "win/HResultMacros.h"

#include <system_error>

namespace dshow {

using Microsoft::WRL::ComPtr;

SourceStream::SourceStream(BaseFilter& filter, const wchar_t* name) noexcept
    : OutputPin(filter, name) {}

SourceStream::~SourceStream() { StopWorker(); }

HRESULT SourceStream::Active() {
  RETURN_IF_FAILED(OutputPin::Active());
  std::lock_guard control(controlLock);
  return StartWorker();
}

// The allocator is decommitted before the worker is joined, so that a worker
// waiting for a free buffer wakes up.
HRESULT SourceStream::Inactive() {
  std::lock_guard control(controlLock);
  stopRequested = true;
  HRESULT hr = OutputPin::Inactive();
  StopWorker();
  return hr;
}

HRESULT SourceStream::StartWorker() {
  if (worker.joinable()) return S_OK;
  stopRequested = false;
  running = true;
  try {
    worker = std::thread([this] { WorkerLoop(); });
  } catch (const std::system_error&) {
    running = false;
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

void SourceStream::StopWorker() {
  stopRequested = true;
  if (worker.joinable()) worker.join();
  running = false;
}

HRESULT SourceStream::OnThreadStartPlay() { return S_OK; }

void SourceStream::WorkerLoop() {
  ComScope com(COINIT_MULTITHREADED);
  HRESULT hr = OnThreadStartPlay();
  while (SUCCEEDED(hr) && !stopRequested) {
    ComPtr<IMediaSample> sample;
    hr = GetDeliveryBuffer(&sample);
    if (FAILED(hr)) break;  // Decommitted: the pin is being stopped.
    hr = FillBuffer(sample.Get());
    if (hr == S_FALSE) {
      DeliverEndOfStream();  // Nothing more to do if downstream refuses it.
      break;
    }
    if (FAILED(hr)) {
      filter.NotifyEvent(EC_ERRORABORT, hr, 0);  // The graph may have no event sink.
      break;
    }
    hr = Deliver(sample.Get());
    // S_FALSE: downstream flushes or does not want more; wait to be restarted.
    if (hr != S_OK) break;
  }
  running = false;
}

}  // namespace dshow
