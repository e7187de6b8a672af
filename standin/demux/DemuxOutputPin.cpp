#include "standin/demux/DemuxOutputPin.h"

#include "standin/demux/DemuxFailSteps.h"
#include "standin/demux/DemuxFilter.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "standin/demux/PidMapEnumerator.h"
#include "standin/shared/Mpeg2MediaTypes.h"
#include "standin/shared/StandinSettings.h"

#include <uuids.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace standin {

using Microsoft::WRL::ComPtr;

namespace {

// Buffers per pin and their size, by what the pin carries: a PES of
// high-definition video holds a picture, one of AC-3 a frame or a few, a
// section at most 4 KB. Larger samples are split over several buffers.
struct BufferPlan {
  long count;
  long size;
};

// Samples a pin holds before the input waits: a second or two of pictures
// or sound, about the same time for both so neither starves the other.
constexpr std::size_t kMaxQueued = 48;

BufferPlan PlanFor(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype == MEDIATYPE_Video) return {8, 512 * 1024};
  if (mt.majortype == MEDIATYPE_Audio) return {16, 64 * 1024};
  if (mt.majortype == MEDIATYPE_MPEG2_SECTIONS) return {16, 4096};
  return {16, 64 * 1024};
}

}  // namespace

DemuxOutputPin::DemuxOutputPin(DemuxFilter& demux, const wchar_t* name, const AM_MEDIA_TYPE& mt,
                               int output)
    : OutputPin(demux, name), demux(demux), output(output) {
  if (FAILED(type.Set(mt))) throw std::bad_alloc();
}

// A filter released without being stopped still ends its threads.
DemuxOutputPin::~DemuxOutputPin() { StopWorker(); }

HRESULT DemuxOutputPin::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IMPEG2PIDMap) return HandOut(static_cast<IMPEG2PIDMap*>(this), object);
  return OutputPin::QueryOwnInterface(riid, object);
}

STDMETHODIMP DemuxOutputPin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxConnectOutput));
  return OutputPin::Connect(receivePin, mt);
}
CATCH_RETURN()

// The pin's own type: same major type and subtype, and the same format type
// when the pin names one.
HRESULT DemuxOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  std::lock_guard lock(filter.StateLock());
  if (mt.majortype != type->majortype || mt.subtype != type->subtype) return S_FALSE;
  if (type->formattype != GUID_NULL && mt.formattype != type->formattype) return S_FALSE;
  return S_OK;
}

HRESULT DemuxOutputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  std::lock_guard lock(filter.StateLock());
  return mt.Set(*type);
}

HRESULT DemuxOutputPin::SetType(const AM_MEDIA_TYPE& mt) {
  RETURN_HR_IF(VFW_E_ALREADY_CONNECTED, connected != nullptr);
  return type.Set(mt);
}

HRESULT DemuxOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  const BufferPlan plan = PlanFor(*type);
  request.cBuffers = std::max(request.cBuffers, plan.count);
  request.cbBuffer = std::max(request.cbBuffer, plan.size);
  request.cbAlign = std::max<long>(request.cbAlign, 1);
  bufferSize = request.cbBuffer;
  return S_OK;
}

STDMETHODIMP DemuxOutputPin::MapPID(ULONG count, ULONG* pids, MEDIA_SAMPLE_CONTENT content) try {
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxMapPid));
  RETURN_HR_IF_NULL(E_POINTER, pids);
  return demux.MapPids(output, count, pids, content);
}
CATCH_RETURN()

STDMETHODIMP DemuxOutputPin::UnmapPID(ULONG count, ULONG* pids) try {
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxUnmapPid));
  RETURN_HR_IF_NULL(E_POINTER, pids);
  return demux.UnmapPids(output, count, pids);
}
CATCH_RETURN()

STDMETHODIMP DemuxOutputPin::EnumPIDMap(IEnumPIDMap** out) try {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxEnumPidMap));
  return PidMapEnumerator::Create(PidMapList(demux.Mapping(output)), out);
}
CATCH_RETURN()

HRESULT DemuxOutputPin::Active() try {
  RETURN_IF_FAILED(OutputPin::Active());
  {
    std::lock_guard state(filter.StateLock());
    watchSizes = type->majortype == MEDIATYPE_Video && type->subtype == MEDIASUBTYPE_MPEG2_VIDEO;
  }
  scanner.Reset();  // the worker is not running: nothing else reads it
  std::lock_guard lock(queueLock);
  stopping = false;
  accepting = true;
  worker = std::thread([this] { WorkerLoop(); });
  return S_OK;
}
CATCH_RETURN()

// Decommitting the allocator releases a delivery waiting for a buffer; the
// renderers downstream are stopped before us, so a delivery in progress ends.
HRESULT DemuxOutputPin::Inactive() {
  {
    std::lock_guard lock(queueLock);
    stopping = true;
    accepting = false;
    queue.clear();
  }
  queueChanged.notify_all();
  const HRESULT hr = OutputPin::Inactive();
  StopWorker();
  return hr;
}

void DemuxOutputPin::StopWorker() {
  {
    std::lock_guard lock(queueLock);
    stopping = true;
    accepting = false;
  }
  queueChanged.notify_all();
  if (worker.joinable()) worker.join();
}

void DemuxOutputPin::PushItem(QueueItem&& item, bool live) {
  std::unique_lock lock(queueLock);
  if (live && accepting && queue.size() >= kMaxQueued) {
    queue.pop_front();
    ++dropped;
    if (!queue.empty()) queue.front().sample.discontinuity = true;
  }
  queueChanged.wait(lock, [&] { return !accepting || queue.size() < kMaxQueued; });
  if (!accepting) return;
  queue.push_back(std::move(item));
  lock.unlock();
  queueChanged.notify_all();
}

void DemuxOutputPin::Enqueue(DemuxSample&& sample, bool live) {
  PushItem({std::move(sample), false}, live);
}

void DemuxOutputPin::EnqueueEndOfStream() { PushItem({DemuxSample{}, true}, false); }

void DemuxOutputPin::BeginFlushQueue() {
  {
    std::lock_guard lock(queueLock);
    accepting = false;
    queue.clear();
  }
  queueChanged.notify_all();
}

void DemuxOutputPin::EndFlushQueue() {
  std::unique_lock lock(queueLock);
  queueChanged.wait(lock, [&] { return !delivering; });
  accepting = !stopping && worker.joinable();
}

void DemuxOutputPin::WorkerLoop() {
  for (;;) {
    QueueItem item;
    {
      std::unique_lock lock(queueLock);
      queueChanged.wait(lock, [&] { return stopping || !queue.empty(); });
      if (stopping) return;
      item = std::move(queue.front());
      queue.pop_front();
      delivering = true;
    }
    queueChanged.notify_all();  // room for the input
    if (item.endOfStream) {
      DeliverEndOfStream();  // a refusal downstream changes nothing here
    } else {
      DeliverSample(item.sample);
    }
    {
      std::lock_guard lock(queueLock);
      delivering = false;
    }
    queueChanged.notify_all();
  }
}

std::optional<dshow::MediaType> DemuxOutputPin::SizeChange(const DemuxSample& sample) {
  if (!watchSizes) return std::nullopt;
  if (sample.discontinuity) scanner.Reset();  // a header cut by the gap is not read
  scanner.Feed(sample.data);
  if (!scanner.HasSequence() || scanner.Sequence() == reported) return std::nullopt;
  const Mpeg2Sequence& now = scanner.Sequence();
  reported = now;  // offered once: a peer that refuses it keeps the type it has
  dshow::MediaType changed = MakeMpeg2VideoType(now.width, now.height, now.aspectCode != 2);
  ComPtr<IPin> peer;
  if (FAILED(ConnectedTo(&peer)) || peer->QueryAccept(changed.Get()) != S_OK) return std::nullopt;
  {
    std::lock_guard state(filter.StateLock());
    if (FAILED(type.Set(*changed)) || FAILED(connectionType.Set(*changed))) return std::nullopt;
  }
  return changed;
}

void DemuxOutputPin::DeliverSample(const DemuxSample& sample) {
  std::optional<dshow::MediaType> changed = SizeChange(sample);
  std::size_t at = 0;
  bool first = true;
  while (first || at < sample.data.size()) {
    Microsoft::WRL::ComPtr<IMediaSample> buffer;
    // Not connected, or not active (created while the graph runs): nothing
    // to deliver to.
    if (FAILED(GetDeliveryBuffer(&buffer))) return;
    BYTE* data = nullptr;
    if (FAILED(buffer->GetPointer(&data))) return;
    // A recycled buffer may still carry the type of an earlier change.
    buffer->SetMediaType(first && changed ? changed->Get() : nullptr);
    const std::size_t room = static_cast<std::size_t>(std::max(buffer->GetSize(), 0L));
    const std::size_t take = std::min(room, sample.data.size() - at);
    if (take > 0) std::memcpy(data, sample.data.data() + at, take);
    buffer->SetActualDataLength(static_cast<long>(take));
    if (first) {
      if (sample.time) {
        REFERENCE_TIME start = *sample.time;
        REFERENCE_TIME stop = start + 1;
        buffer->SetTime(&start, &stop);
      } else {
        buffer->SetTime(nullptr, nullptr);
      }
      // The raw 90 kHz PTS travels as the media time, for the decoders that
      // show the stream clock.
      if (sample.pts) {
        LONGLONG pts = static_cast<LONGLONG>(*sample.pts);
        LONGLONG next = pts + 1;
        buffer->SetMediaTime(&pts, &next);
      } else {
        buffer->SetMediaTime(nullptr, nullptr);
      }
      buffer->SetSyncPoint(sample.syncPoint ? TRUE : FALSE);
      buffer->SetDiscontinuity(sample.discontinuity ? TRUE : FALSE);
    } else {
      buffer->SetTime(nullptr, nullptr);
      buffer->SetMediaTime(nullptr, nullptr);
      buffer->SetSyncPoint(FALSE);
      buffer->SetDiscontinuity(FALSE);
    }
    buffer->SetPreroll(FALSE);
    // A refusal downstream (S_FALSE, or a failure it reports itself) ends
    // this sample; the stream goes on with the next.
    if (Deliver(buffer.Get()) != S_OK) return;
    at += take;
    first = false;
    if (take == 0) return;
  }
}

}  // namespace standin
