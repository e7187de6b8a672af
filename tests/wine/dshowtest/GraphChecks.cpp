// Two filters of our library connected pin to pin without a graph manager:
// enumerators, media-type choice, allocator negotiation, the source stream's
// worker thread (delivery, end of stream, restart with a flush), stopping
// and disconnecting.

#include "dshow/BaseFilter.h"
#include "Check.h"
#include "win/ComObject.h"
#include "dshow/InputPin.h"
#include "dshow/SourceStream.h"

#include <uuids.h>
#include <wrl/client.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cwchar>
#include <functional>
#include <mutex>

using Microsoft::WRL::ComPtr;

namespace {

constexpr long kSampleSize = 1000;

class CountingPin final : public dshow::SourceStream {
 public:
  explicit CountingPin(dshow::BaseFilter& filter) : SourceStream(filter, L"Out") {}
  std::atomic<int> limit{50};
  std::atomic<int> delivered{0};
  std::atomic<int> threadStarts{0};
  std::atomic<unsigned char> next{0};

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override {
    return mt.majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
  }
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override {
    if (position != 0) return VFW_S_NO_MORE_ITEMS;
    mt = dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT);
    return S_OK;
  }
  HRESULT Restart() { return WithWorkerStopped([] {}); }

 protected:
  HRESULT DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) override {
    request.cBuffers = std::max<long>(request.cBuffers, 2);
    request.cbBuffer = kSampleSize;
    request.cbAlign = std::max<long>(request.cbAlign, 1);
    return S_OK;
  }
  HRESULT FillBuffer(IMediaSample* sample) override {
    if (delivered >= limit) return S_FALSE;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    for (long i = 0; i < kSampleSize; ++i) data[i] = next++;
    sample->SetActualDataLength(kSampleSize);
    ++delivered;
    return S_OK;
  }
  HRESULT OnThreadStartPlay() override {
    ++threadStarts;
    return DeliverNewSegment(0, 0, 1.0);
  }
};

class CountingSource final : public dshow::BaseFilter {
 public:
  CountingSource() : BaseFilter(GUID_NULL), pin(*this) {}
  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &pin : nullptr; }
  CountingPin pin;
};

class CheckingPin final : public dshow::InputPin {
 public:
  explicit CheckingPin(dshow::BaseFilter& filter) : InputPin(filter, L"In") {}
  std::mutex lock;
  std::condition_variable changed;
  long bytes = 0;
  bool inOrder = true;
  bool endOfStream = false;
  unsigned char expected = 0;
  int flushes = 0, segments = 0;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override {
    return mt.majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
  }
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override {
    std::lock_guard guard(lock);
    ++segments;
    return InputPin::NewSegment(start, stop, rate);
  }
  bool WaitFor(const std::function<bool()>& done) {
    std::unique_lock guard(lock);
    return changed.wait_for(guard, std::chrono::seconds(10), done);
  }

 protected:
  HRESULT OnReceive(IMediaSample* sample) override {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::lock_guard guard(lock);
    for (long i = 0; i < sample->GetActualDataLength(); ++i) {
      if (data[i] != expected++) inOrder = false;
    }
    bytes += sample->GetActualDataLength();
    changed.notify_all();
    return S_OK;
  }
  HRESULT OnEndOfStream() override {
    std::lock_guard guard(lock);
    endOfStream = true;
    changed.notify_all();
    return S_OK;
  }
  HRESULT OnBeginFlush() override {
    std::lock_guard guard(lock);
    ++flushes;
    return S_OK;
  }
};

class CheckingSink final : public dshow::BaseFilter {
 public:
  CheckingSink() : BaseFilter(GUID_NULL), pin(*this) {}
  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &pin : nullptr; }
  CheckingPin pin;
};

}  // namespace

void CheckGraph() {
  ComPtr<CountingSource> source;
  source = AdoptNew(new CountingSource());
  ComPtr<CheckingSink> sink;
  sink = AdoptNew(new CheckingSink());

  ComPtr<IEnumPins> pins;
  CHECK_HR(S_OK, source->EnumPins(&pins));
  IPin* found[2] = {};
  ULONG fetched = 0;
  CHECK_HR(S_FALSE, pins->Next(2, found, &fetched));
  CHECK_THAT(fetched == 1 && found[0] == &source->pin);
  if (found[0] != nullptr) found[0]->Release();
  ComPtr<IPin> byName;
  CHECK_HR(S_OK, source->FindPin(L"Out", &byName));
  LPWSTR id = nullptr;
  CHECK_HR(S_OK, byName->QueryId(&id));
  CHECK_THAT(id != nullptr && std::wcscmp(id, L"Out") == 0);
  CoTaskMemFree(id);
  CHECK_HR(VFW_E_NOT_FOUND, source->FindPin(L"Output", &byName));
  ComPtr<IEnumMediaTypes> types;
  CHECK_HR(S_OK, source->pin.EnumMediaTypes(&types));
  AM_MEDIA_TYPE* type[2] = {};
  CHECK_HR(S_FALSE, types->Next(2, type, &fetched));
  CHECK_THAT(fetched == 1 && type[0] != nullptr && type[0]->subtype == MEDIASUBTYPE_MPEG2_TRANSPORT);
  dshow::DeleteMediaType(type[0]);

  // A type the pins cannot agree on connects nothing; then the source's own.
  dshow::MediaType video(MEDIATYPE_Video, GUID_NULL);
  CHECK_HR(VFW_E_NO_ACCEPTABLE_TYPES, source->pin.Connect(&sink->pin, video.Get()));
  CHECK_THAT(!source->pin.IsConnected() && !sink->pin.IsConnected());
  CHECK_HR(S_OK, source->pin.Connect(&sink->pin, nullptr));
  CHECK_HR(VFW_E_ALREADY_CONNECTED, source->pin.Connect(&sink->pin, nullptr));
  ComPtr<IPin> other;
  CHECK_HR(S_OK, sink->pin.ConnectedTo(&other));
  CHECK_THAT(other.Get() == &source->pin);
  AM_MEDIA_TYPE agreed{};
  CHECK_HR(S_OK, sink->pin.ConnectionMediaType(&agreed));
  CHECK_THAT(agreed.subtype == MEDIASUBTYPE_MPEG2_TRANSPORT);
  dshow::FreeMediaTypeContents(agreed);

  // Fifty samples, counted bytes in order, then the end of the stream.
  CHECK_HR(S_OK, sink->Pause());
  CHECK_HR(S_OK, source->Pause());
  CHECK_THAT(sink->pin.WaitFor([&] { return sink->pin.endOfStream; }));
  {
    std::lock_guard guard(sink->pin.lock);
    CHECK_THAT(sink->pin.bytes == 50 * kSampleSize && sink->pin.inOrder);
    CHECK_THAT(sink->pin.segments == 1);
  }
  CHECK_HR(VFW_E_NOT_STOPPED, sink->pin.Disconnect());
  CHECK_HR(S_OK, sink->Stop());
  CHECK_HR(S_OK, source->Stop());

  // Endless now: a restart flushes downstream, stops and starts the worker,
  // which sends a new segment; stopping ends it.
  source->pin.limit = 1 << 30;
  CHECK_HR(S_OK, sink->Pause());
  CHECK_HR(S_OK, source->Run(0));
  CHECK_THAT(sink->pin.WaitFor([&] { return sink->pin.bytes > 60 * kSampleSize; }));
  CHECK_HR(S_OK, source->pin.Restart());
  CHECK_THAT(sink->pin.WaitFor([&] { return sink->pin.segments == 3; }));
  CHECK_THAT(source->pin.threadStarts == 3);
  {
    // Samples filled during the flush are refused, so the count may jump.
    std::lock_guard guard(sink->pin.lock);
    CHECK_THAT(sink->pin.flushes == 1);
  }
  CHECK_HR(S_OK, sink->Stop());
  CHECK_HR(S_OK, source->Stop());
  CHECK_THAT(!source->pin.IsStreaming());

  CHECK_HR(S_OK, sink->pin.Disconnect());
  CHECK_HR(S_OK, source->pin.Disconnect());
  CHECK_THAT(!source->pin.IsConnected());
}
