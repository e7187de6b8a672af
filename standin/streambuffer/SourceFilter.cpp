#include "standin/streambuffer/SourceFilter.h"

#include "standin/decoders/Mpeg2VideoScanner.h"
#include "standin/shared/Mpeg2MediaTypes.h"
#include "standin/streambuffer/SinkCore.h"
#include "standin/streambuffer/SinkRegistry.h"
#include "win/HResultMacros.h"
#include "win/TaskMemText.h"

#include <uuids.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace standin {

using Microsoft::WRL::ComPtr;
using streambuffer::PtsToTime;
using streambuffer::TimeToPts;

namespace {

// A seek to the live edge starts this far behind it, so that the pictures
// arrive before they are due.
constexpr std::uint64_t kLiveMargin = streambuffer::kPtsPerSecond;
constexpr double kMaxRate = 16.0;
// Slower than this either way the engine refuses.
constexpr double kMinRate = 0.1;

// The picture size of the first sequence header of a recording, for the
// video pin's type; nothing when none is found near the start.
std::optional<Mpeg2Sequence> FirstSequence(streambuffer::ByteFile& file) {
  Mpeg2VideoScanner scanner;
  std::vector<std::uint8_t> buffer(188 * 2048);
  const std::size_t got = file.ReadAt(0, buffer);
  streambuffer::UnitParser parser([&](streambuffer::RecordedUnit&& unit) {
    if (unit.stream == streambuffer::Elementary::Video && !scanner.HasSequence()) {
      scanner.Feed(unit.data);
      const std::uint8_t pictureStart[] = {0, 0, 1, 0, 0, 0};
      scanner.Feed(pictureStart);
    }
  });
  for (std::size_t at = 0; at + kTsPacketSize <= got; at += kTsPacketSize) {
    parser.Feed(TsPacket::FromBytes(std::span(buffer).subspan(at, kTsPacketSize)));
  }
  parser.Flush();
  if (!scanner.HasSequence()) return std::nullopt;
  return scanner.Sequence();
}

}  // namespace

SourceFilter::SourceFilter()
    : BaseFilter(CLSID_StreamBufferSource),
      video(*this, L"Video", true),
      audio(*this, L"Audio", false),
      plainSeeking(*static_cast<IBaseFilter*>(this), *static_cast<IStreamBufferMediaSeeking*>(this),
                   [this] { return PlainSeekingAllowed(); }) {}

SourceFilter::~SourceFilter() { Stop(); }

HRESULT SourceFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  return HandOutNew(new SourceFilter(), riid, object);
}
CATCH_RETURN()

HRESULT SourceFilter::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IStreamBufferSource) return HandOut(static_cast<IStreamBufferSource*>(this), object);
  if (riid == IID_IFileSourceFilter) return HandOut(static_cast<IFileSourceFilter*>(this), object);
  if (riid == IID_IStreamBufferMediaSeeking) {
    bufferSeekingTaken = true;
    return HandOut(static_cast<IStreamBufferMediaSeeking*>(this), object);
  }
  if (riid == IID_IMediaSeeking) {
    // Live content seeks only through IStreamBufferMediaSeeking, and a
    // source that handed that out keeps to it.
    if (!PlainSeekingAllowed()) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    return HandOut(static_cast<IMediaSeeking*>(&plainSeeking), object);
  }
  if (riid == IID_IStreamBufferInitialize) {
    return HandOut(static_cast<IStreamBufferInitialize*>(this), object);
  }
  return BaseFilter::QueryOwnInterface(riid, object);
}

dshow::BasePin* SourceFilter::PinAt(int index) {
  if (index == 0) return &video;
  if (index == 1) return &audio;
  return nullptr;
}

std::shared_ptr<PlaybackContent> SourceFilter::Content() {
  std::lock_guard lock(StateLock());
  return content;
}

// A recording file that is no longer written; nothing before a Load.
bool SourceFilter::PlainSeekingAllowed() {
  if (bufferSeekingTaken) return false;
  std::wstring path;
  {
    std::lock_guard lock(StateLock());
    if (!content || content->IsLive()) return false;
    path = fileName;
  }
  return !IsStillWritten(path);
}

// --- state ------------------------------------------------------------------

STDMETHODIMP SourceFilter::Pause() try {
  bool start = false;
  {
    std::lock_guard lock(StateLock());
    if (running) {
      // Running -> paused: the stream time stops where it is.
      pausedAt = StreamNow();
      running = false;
    }
    start = IsStopped() && content != nullptr;
  }
  RETURN_IF_FAILED(BaseFilter::Pause());
  if (start) {
    {
      std::lock_guard play(playLock);
      readerStopping = false;
      answered = requested;
      segmentBase = 0;
      discontinuity = true;
      lastQueuedPts.reset();
    }
    pausedAt = 0;
    reader = std::thread([this] { ReaderLoop(); });
  }
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::Run(REFERENCE_TIME start) try {
  RETURN_IF_FAILED(BaseFilter::Run(start));
  std::lock_guard lock(StateLock());
  runStart = start;
  running = true;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::Stop() try {
  {
    std::lock_guard play(playLock);
    readerStopping = true;
  }
  playChanged.notify_all();
  {
    std::lock_guard lock(StateLock());
    running = false;
  }
  // Decommitting the allocators releases a reader waiting for a buffer.
  const HRESULT hr = BaseFilter::Stop();
  if (reader.joinable()) reader.join();
  std::lock_guard play(playLock);
  // The next run starts where this one was.
  if (lastQueuedPts) requestPts = lastQueuedPts;
  return hr;
}
CATCH_RETURN()

REFERENCE_TIME SourceFilter::StreamNow() {
  std::lock_guard lock(StateLock());
  if (!running) return pausedAt;
  ComPtr<IReferenceClock> clock;
  REFERENCE_TIME now = 0;
  if (FAILED(GetSyncSource(&clock)) || !clock || FAILED(clock->GetTime(&now))) return pausedAt;
  return std::max<REFERENCE_TIME>(now - runStart, 0);
}

// --- what is played ---------------------------------------------------------

STDMETHODIMP SourceFilter::SetStreamSink(IStreamBufferSink* sink) try {
  RETURN_HR_IF_NULL(E_POINTER, sink);
  // The platform's engine calls what it is given as an IStreamBufferSink: a
  // pointer to any other interface of the sink would be called wrongly, so
  // it is refused here.
  ComPtr<IStreamBufferSink> asSink;
  RETURN_HR_IF(E_NOINTERFACE, FAILED(sink->QueryInterface(IID_IStreamBufferSink,
                                                          reinterpret_cast<void**>(asSink.GetAddressOf()))));
  RETURN_HR_IF(E_INVALIDARG, asSink.Get() != sink);
  ComPtr<IStandinStreamBufferSink> ours;
  RETURN_HR_IF(E_NOINTERFACE, FAILED(sink->QueryInterface(IID_IStandinStreamBufferSink,
                                                          reinterpret_cast<void**>(ours.GetAddressOf()))));
  std::shared_ptr<SinkCore> core = ours->Core();
  std::lock_guard lock(StateLock());
  RETURN_HR_IF(VFW_E_NOT_STOPPED, !IsStopped());
  dshow::MediaType type;
  if (SUCCEEDED(core->VideoType(type))) video.SetType(*type);
  if (SUCCEEDED(core->AudioType(type))) audio.SetType(*type);
  content = MakeLiveContent([core] { return core->Live(); });
  fileName.clear();
  std::lock_guard play(playLock);
  requestPts.reset();
  stopPosition.reset();
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::Load(LPCOLESTR name, const AM_MEDIA_TYPE*) try {
  RETURN_HR_IF_NULL(E_POINTER, name);
  const std::size_t length = wcsnlen(name, MAX_PATH);
  RETURN_HR_IF(E_INVALIDARG, length == 0);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), length >= MAX_PATH);
  const std::wstring path(name, length);
  {
    // A source reads one file or buffer in its life: another needs a new
    // source.
    std::lock_guard lock(StateLock());
    RETURN_HR_IF(E_UNEXPECTED, loaded);
  }
  std::unique_ptr<PlaybackContent> opened;
  std::optional<Mpeg2Sequence> sequence;
  if (const auto core = FindLockedProfile(path)) {
    // The stub file of a sink that runs here: its live buffer.
    opened = MakeLiveContent([core] { return core->Live(); });
  } else {
    RETURN_IF_FAILED(MakeRecordingContent(path, opened));
    ReadableFile file;
    if (SUCCEEDED(file.Open(path))) sequence = FirstSequence(file);
  }
  std::lock_guard lock(StateLock());
  RETURN_HR_IF(VFW_E_NOT_STOPPED, !IsStopped());
  if (sequence) {
    video.SetType(*MakeMpeg2VideoType(sequence->width, sequence->height, sequence->aspectCode != 2));
  }
  RETURN_HR_IF(E_UNEXPECTED, loaded);
  content = std::move(opened);
  loaded = true;
  fileName = path;
  std::lock_guard play(playLock);
  requestPts.reset();
  requestRate = rate = 1.0;
  stopPosition.reset();
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF_NULL(E_POINTER, name);
  *name = nullptr;
  std::lock_guard lock(StateLock());
  RETURN_HR_IF(E_FAIL, fileName.empty());
  RETURN_IF_FAILED(CopyToTaskMem(fileName, name));
  if (mt != nullptr) *mt = AM_MEDIA_TYPE{};
  return S_OK;
}
CATCH_RETURN()

// --- seeking ----------------------------------------------------------------

// For a live buffer, the end of what is kept; for a recording, its length.
STDMETHODIMP SourceFilter::GetDuration(LONGLONG* duration) try {
  RETURN_HR_IF_NULL(E_POINTER, duration);
  *duration = 0;
  const auto played = Content();
  RETURN_HR_IF(E_UNEXPECTED, !played);
  const auto origin = played->Origin();
  const auto latest = played->Latest();
  if (origin && latest && *latest > *origin) *duration = PtsToTime(static_cast<std::int64_t>(*latest - *origin));
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::GetStopPosition(LONGLONG* stop) try {
  RETURN_HR_IF_NULL(E_POINTER, stop);
  {
    std::lock_guard play(playLock);
    if (stopPosition) {
      *stop = *stopPosition;
      return S_OK;
    }
  }
  return GetDuration(stop);
}
CATCH_RETURN()

LONGLONG SourceFilter::PositionNow() {
  const auto played = Content();
  const auto origin = played ? played->Origin() : std::nullopt;
  if (!origin) return 0;
  const REFERENCE_TIME now = StreamNow();
  std::lock_guard play(playLock);
  if (requested != answered || !lastQueuedPts) {
    const std::uint64_t at = requestPts ? *requestPts : segmentPts;
    return at > *origin ? PtsToTime(static_cast<std::int64_t>(at - *origin)) : 0;
  }
  std::int64_t pts = static_cast<std::int64_t>(*lastQueuedPts);
  if (rate > 0) {
    // Where the clock is in the segment, but never past what was queued.
    const auto played90k = static_cast<std::int64_t>(static_cast<double>(TimeToPts(now - segmentBase)) * rate);
    pts = std::min(pts, static_cast<std::int64_t>(segmentPts) + std::max<std::int64_t>(played90k, 0));
  }
  return pts > static_cast<std::int64_t>(*origin) ? PtsToTime(pts - static_cast<std::int64_t>(*origin)) : 0;
}

STDMETHODIMP SourceFilter::GetCurrentPosition(LONGLONG* current) try {
  RETURN_HR_IF_NULL(E_POINTER, current);
  *current = PositionNow();
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::GetPositions(LONGLONG* current, LONGLONG* stop) try {
  if (current != nullptr) RETURN_IF_FAILED(GetCurrentPosition(current));
  if (stop != nullptr) RETURN_IF_FAILED(GetStopPosition(stop));
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::GetAvailable(LONGLONG* earliest, LONGLONG* latest) try {
  const auto played = Content();
  RETURN_HR_IF(E_UNEXPECTED, !played);
  const auto origin = played->Origin();
  const auto first = played->Earliest();
  const auto last = played->Latest();
  const auto position = [&](const std::optional<std::uint64_t>& pts) -> LONGLONG {
    return origin && pts && *pts > *origin ? PtsToTime(static_cast<std::int64_t>(*pts - *origin)) : 0;
  };
  if (earliest != nullptr) *earliest = position(first);
  if (latest != nullptr) *latest = position(last);
  return S_OK;
}
CATCH_RETURN()

std::optional<std::uint64_t> SourceFilter::ClampToAvailable(std::uint64_t pts) {
  const auto played = Content();
  if (!played) return std::nullopt;
  const auto first = played->Earliest();
  const auto last = played->Latest();
  if (!first || !last) return std::nullopt;
  std::uint64_t high = *last;
  if (played->IsLive()) high = *last > *first + kLiveMargin ? *last - kLiveMargin : *first;
  return std::clamp(pts, *first, std::max(*first, high));
}

STDMETHODIMP SourceFilter::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                        DWORD stopFlags) try {
  const DWORD how = currentFlags & AM_SEEKING_PositioningBitsMask;
  const DWORD stopHow = stopFlags & AM_SEEKING_PositioningBitsMask;
  RETURN_HR_IF(E_POINTER, (how != AM_SEEKING_NoPositioning && current == nullptr) ||
                              (stopHow != AM_SEEKING_NoPositioning && stop == nullptr));
  RETURN_HR_IF(E_INVALIDARG, how == AM_SEEKING_IncrementalPositioning);
  const auto played = Content();
  RETURN_HR_IF(E_UNEXPECTED, !played);
  if (stopHow == AM_SEEKING_AbsolutePositioning) {
    std::lock_guard play(playLock);
    stopPosition = *stop;
  } else if (stopHow == AM_SEEKING_RelativePositioning) {
    LONGLONG now = 0;
    RETURN_IF_FAILED(GetStopPosition(&now));
    std::lock_guard play(playLock);
    stopPosition = now + *stop;
  }
  if (how == AM_SEEKING_NoPositioning) return S_OK;
  LONGLONG position = *current;
  if (how == AM_SEEKING_RelativePositioning) position += PositionNow();
  const auto origin = played->Origin();
  if (!origin) {
    // Nothing kept yet: playback starts with the first picture.
    std::lock_guard play(playLock);
    requestPts.reset();
    return S_OK;
  }
  const std::int64_t wanted = static_cast<std::int64_t>(*origin) + TimeToPts(std::max<LONGLONG>(position, 0));
  const auto pts = ClampToAvailable(static_cast<std::uint64_t>(wanted));
  if (!pts) return S_OK;
  double keepRate = 1.0;
  {
    std::lock_guard play(playLock);
    keepRate = requestRate;
  }
  RETURN_IF_FAILED(Reposition(*pts, keepRate));
  if ((currentFlags & AM_SEEKING_ReturnTime) != 0) *current = PositionNow();
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::SetRate(double newRate) try {
  RETURN_HR_IF(E_INVALIDARG, std::fabs(newRate) < kMinRate || std::fabs(newRate) > kMaxRate);
  const auto played = Content();
  RETURN_HR_IF(E_UNEXPECTED, !played);
  const auto origin = played->Origin();
  if (!origin) {
    std::lock_guard play(playLock);
    requestRate = newRate;
    return S_OK;
  }
  // The new rate goes on from where playback is.
  const auto pts = ClampToAvailable(*origin + static_cast<std::uint64_t>(TimeToPts(PositionNow())));
  if (!pts) return S_OK;
  return Reposition(*pts, newRate);
}
CATCH_RETURN()

STDMETHODIMP SourceFilter::GetRate(double* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  std::lock_guard play(playLock);
  *out = requestRate;
  return S_OK;
}

HRESULT SourceFilter::Reposition(std::uint64_t pts, double newRate) {
  std::lock_guard one(seekLock);
  std::uint64_t ticket = 0;
  const bool streaming = !IsStopped() && reader.joinable();
  {
    std::lock_guard play(playLock);
    requestPts = pts;
    requestRate = newRate;
    ticket = ++requested;
    flushing = streaming;
  }
  if (!streaming) return S_OK;  // taken up when the graph starts
  video.BeginFlushQueue();
  audio.BeginFlushQueue();
  {
    std::unique_lock play(playLock);
    playChanged.notify_all();
    // The reader answers between two samples; a reader that stopped will not.
    playChanged.wait_for(play, std::chrono::seconds(10),
                         [&] { return answered >= ticket || readerStopping; });
  }
  // A sample queued just before the reader answered goes with this flush.
  video.EndFlushQueue();
  audio.EndFlushQueue();
  {
    std::lock_guard play(playLock);
    flushing = false;
  }
  playChanged.notify_all();
  return S_OK;
}

}  // namespace standin
