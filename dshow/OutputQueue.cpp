#include "dshow/OutputQueue.h"

namespace dshow {

HRESULT OutputQueue::Start() try {
  Stop();
  {
    std::lock_guard guard(lock);
    stopping = false;
    lastResult = S_OK;
  }
  worker = std::thread([this] { Loop(); });
  return S_OK;
} catch (...) {
  return E_OUTOFMEMORY;
}

void OutputQueue::Stop() {
  {
    std::lock_guard guard(lock);
    stopping = true;
    items.clear();
  }
  changed.notify_all();
  if (worker.joinable()) worker.join();
}

HRESULT OutputQueue::Deliver(IMediaSample* sample) try {
  std::lock_guard guard(lock);
  if (stopping) return VFW_E_WRONG_STATE;
  if (lastResult != S_OK) return lastResult;
  items.push_back({sample});
  changed.notify_all();
  return S_OK;
} catch (...) {
  return E_OUTOFMEMORY;
}

HRESULT OutputQueue::DeliverEndOfStream() try {
  std::lock_guard guard(lock);
  if (stopping) return VFW_E_WRONG_STATE;
  items.push_back({});
  changed.notify_all();
  return S_OK;
} catch (...) {
  return E_OUTOFMEMORY;
}

void OutputQueue::Flush() {
  std::unique_lock guard(lock);
  items.clear();
  changed.wait(guard, [this] { return !delivering; });
  lastResult = S_OK;  // a refusal during the flush does not outlast it
}

void OutputQueue::Loop() {
  std::unique_lock guard(lock);
  for (;;) {
    changed.wait(guard, [this] { return stopping || !items.empty(); });
    if (stopping) return;
    Item item = std::move(items.front());
    items.pop_front();
    delivering = true;
    const bool isSample = item.sample != nullptr;
    guard.unlock();
    const HRESULT hr = item.sample ? pin.Deliver(item.sample.Get()) : pin.DeliverEndOfStream();
    item.sample.Reset();  // back to the allocator before the lock is taken again
    guard.lock();
    delivering = false;
    if (isSample && hr != S_OK && lastResult == S_OK) lastResult = hr;
    changed.notify_all();
  }
}

}  // namespace dshow
