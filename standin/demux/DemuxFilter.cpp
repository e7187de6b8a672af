#include "standin/demux/DemuxFilter.h"

#include "standin/demux/DemuxFailSteps.h"
#include "standin/shared/Mpeg2MediaTypes.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"

#include <uuids.h>

#include <algorithm>
#include <cwchar>

namespace standin {

using Microsoft::WRL::ComPtr;

namespace {

// The pins offered behind a virtual tuner. The tables pin comes first: the
// suite connects the demultiplexer to the transport information filter before
// anything else, taking the first free output pin that connects.
constexpr wchar_t kTablesPinName[] = L"PSI";
constexpr wchar_t kVideoPinName[] = L"Video";
constexpr wchar_t kAudioPinName[] = L"Audio";

// Until the first sequence header the picture size is unknown; decoders take
// the size from the stream. The guess is the standard-definition size: a
// decoder that keeps the size it connected with then draws small pictures,
// which Wine's renderer keeps up with on a busy machine (at 1920 x 1080 it
// fell to a third of the frames).
constexpr LONG kGuessWidth = 720;
constexpr LONG kGuessHeight = 480;

std::optional<PidContent> ContentFor(MEDIA_SAMPLE_CONTENT content) {
  switch (content) {
    case MEDIA_ELEMENTARY_STREAM: return PidContent::ElementaryStream;
    case MEDIA_TRANSPORT_PACKET: return PidContent::TransportPacket;
    case MEDIA_MPEG2_PSI: return PidContent::Sections;
    default: return std::nullopt;  // payloads without PES headers are not offered
  }
}

}  // namespace

DemuxFilter::DemuxFilter() : BaseFilter(CLSID_MPEG2Demultiplexer), input(*this) {}

HRESULT DemuxFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxCreate));
  return HandOutNew(new DemuxFilter(), riid, object);
}
CATCH_RETURN()

HRESULT DemuxFilter::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IMpeg2Demultiplexer) return HandOut(static_cast<IMpeg2Demultiplexer*>(this), object);
  return BaseFilter::QueryOwnInterface(riid, object);
}

int DemuxFilter::PinCount() {
  std::lock_guard lock(StateLock());
  return 1 + static_cast<int>(outputs.size());
}

dshow::BasePin* DemuxFilter::PinAt(int index) {
  std::lock_guard lock(StateLock());
  if (index == 0) return &input;
  if (index < 1 || index > static_cast<int>(outputs.size())) return nullptr;
  return outputs[static_cast<std::size_t>(index - 1)].get();
}

DemuxOutputPin* DemuxFilter::FindOutput(const wchar_t* name) {
  for (auto& pin : outputs) {
    if (pin->Name() == name) return pin.get();
  }
  return nullptr;
}

HRESULT DemuxFilter::AddOutput(const wchar_t* name, const AM_MEDIA_TYPE& mt, DemuxOutputPin** added) {
  RETURN_HR_IF(E_INVALIDARG, FindOutput(name) != nullptr);
  const int id = nextOutputId++;
  // The pin is kept before it is registered: a registration that fails for
  // want of memory must not leave the streaming thread a pin that is gone.
  outputs.push_back(std::make_unique<DemuxOutputPin>(*this, name, mt, id));
  DemuxOutputPin* pin = outputs.back().get();
  {
    std::lock_guard lock(coreLock);
    pinsById[id] = pin;
  }
  *added = pin;
  return S_OK;
}

STDMETHODIMP DemuxFilter::CreateOutputPin(AM_MEDIA_TYPE* mt, LPWSTR name, IPin** out) try {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, mt);
  RETURN_HR_IF_NULL(E_POINTER, name);
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxCreateOutputPin));
  const std::size_t length = wcsnlen(name, MAX_PIN_NAME);
  RETURN_HR_IF(E_INVALIDARG, length == 0 || length >= MAX_PIN_NAME);
  std::lock_guard lock(StateLock());
  DemuxOutputPin* pin = nullptr;
  RETURN_IF_FAILED(AddOutput(name, *mt, &pin));
  *out = pin;
  pin->AddRef();
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP DemuxFilter::SetOutputPinMediaType(LPWSTR name, AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF_NULL(E_POINTER, name);
  RETURN_HR_IF_NULL(E_POINTER, mt);
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxSetOutputPinMediaType));
  std::lock_guard lock(StateLock());
  DemuxOutputPin* pin = FindOutput(name);
  RETURN_HR_IF(VFW_E_NOT_FOUND, pin == nullptr);
  return pin->SetType(*mt);
}
CATCH_RETURN()

// A connected pin is disconnected first (both ends), which needs a stopped
// graph. The pin object stays alive with the filter: the graph may hold it.
STDMETHODIMP DemuxFilter::DeleteOutputPin(LPWSTR name) try {
  RETURN_HR_IF_NULL(E_POINTER, name);
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kDemuxDeleteOutputPin));
  std::lock_guard lock(StateLock());
  auto found = std::find_if(outputs.begin(), outputs.end(),
                            [&](const auto& pin) { return pin->Name() == name; });
  RETURN_HR_IF(VFW_E_NOT_FOUND, found == outputs.end());
  DemuxOutputPin* pin = found->get();
  ComPtr<IPin> peer;
  if (SUCCEEDED(pin->ConnectedTo(&peer))) {
    RETURN_HR_IF(VFW_E_NOT_STOPPED, State() != State_Stopped);
    peer->Disconnect();  // the peer's own bookkeeping; ours follows
    RETURN_IF_FAILED(pin->Disconnect());
  }
  {
    std::lock_guard core_(coreLock);
    const int id = pin->OutputId();
    core.RemoveOutput(id);
    pinsById.erase(id);
    if (followOutputs.video == id) followOutputs.video = -1;
    if (followOutputs.audio == id) followOutputs.audio = -1;
    if (followOutputs.tables == id) followOutputs.tables = -1;
  }
  refollowDue = true;  // follow again with the pins that are left
  retired.push_back(std::move(*found));
  outputs.erase(found);
  return S_OK;
}
CATCH_RETURN()

HRESULT DemuxFilter::OnInputConnected() {
  ComPtr<IStandinTunedProgram> found;
  // Not behind a virtual tuner (a file source): nothing to follow.
  if (FAILED(FindUpstreamTunedProgram(this, &found))) return S_OK;
  {
    std::lock_guard streaming(streamingLock);
    tuner = found;
    tunerFollowed = false;
  }
  if (FindOutput(kVideoPinName) != nullptr) return S_OK;  // made at an earlier connection
  DemuxOutputPin* tables = nullptr;
  DemuxOutputPin* video = nullptr;
  DemuxOutputPin* audio = nullptr;
  const dshow::MediaType tablesType(MEDIATYPE_MPEG2_SECTIONS, MEDIASUBTYPE_MPEG2DATA);
  RETURN_IF_FAILED(AddOutput(kTablesPinName, *tablesType, &tables));
  RETURN_IF_FAILED(AddOutput(kVideoPinName, *MakeMpeg2VideoType(kGuessWidth, kGuessHeight, true), &video));
  RETURN_IF_FAILED(AddOutput(kAudioPinName, *MakeAc3AudioType(), &audio));
  std::lock_guard core_(coreLock);
  followOutputs = {video->OutputId(), audio->OutputId(), tables->OutputId()};
  return S_OK;
}

void DemuxFilter::OnInputDisconnected() {
  std::lock_guard streaming(streamingLock);
  tuner.Reset();
}

void DemuxFilter::FollowTuner() {
  if (!tuner) return;
  TunedProgram tuned{};
  if (FAILED(tuner->GetTunedProgram(&tuned))) return;
  const bool again = refollowDue.exchange(false);
  if (tunerFollowed && tuned.generation == followedGeneration && !again) return;
  std::lock_guard lock(coreLock);
  core.FollowProgram(tuned.programNumber <= TsDemuxCore::kMaxProgram
                         ? static_cast<std::uint16_t>(tuned.programNumber)
                         : 0,
                     followOutputs);
  followedGeneration = tuned.generation;
  tunerFollowed = true;
}

STDMETHODIMP DemuxFilter::Run(REFERENCE_TIME start) try {
  {
    std::lock_guard lock(clockLock);
    runStart = start;
    clock.Reset();
    GetSyncSource(&clock);  // no clock: the samples go out unpaced
  }
  RETURN_IF_FAILED(BaseFilter::Run(start));
  clockAnchorDue = true;
  running = true;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP DemuxFilter::Pause() {
  running = false;
  return BaseFilter::Pause();
}

// Behind a live source, the stream time now; before the graph runs, 0.
std::optional<std::int64_t> DemuxFilter::LiveNow() {
  if (!tuner) return std::nullopt;
  std::lock_guard lock(clockLock);
  REFERENCE_TIME now = 0;
  if (!clock || !running || FAILED(clock->GetTime(&now))) return 0;
  return now - runStart;
}

STDMETHODIMP DemuxFilter::Stop() try {
  running = false;
  HRESULT hr = BaseFilter::Stop();
  std::lock_guard streaming(streamingLock);
  std::lock_guard lock(coreLock);
  core.Reset();
  return hr;
}
CATCH_RETURN()

HRESULT DemuxFilter::Receive(IMediaSample* sample) {
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  const long length = sample->GetActualDataLength();
  RETURN_HR_IF(E_UNEXPECTED, length < 0 || length > sample->GetSize());
  std::vector<DemuxSample> samples;
  std::lock_guard streaming(streamingLock);
  FollowTuner();
  const auto now = LiveNow();
  {
    std::lock_guard lock(coreLock);
    // A new position in the source: what was half collected does not go on.
    // Behind a tuner the discontinuity is its file starting over, right after
    // whole packets: the last picture, which only the next one would end,
    // is whole and goes out first.
    if (sample->IsDiscontinuity() == S_OK) {
      if (tuner) core.EndOfStream([&](DemuxSample&& s) { samples.push_back(std::move(s)); });
      core.Reset();
    }
    // A file keeps its anchor across a pause: its stream time goes on from there.
    if (clockAnchorDue.exchange(false) && now) core.ResetClock();
    core.Feed(std::span(data, static_cast<std::size_t>(length)), now,
              [&](DemuxSample&& s) { samples.push_back(std::move(s)); });
  }
  DeliverAll(samples, now.has_value());
  return S_OK;
}

void DemuxFilter::DeliverAll(std::vector<DemuxSample>& samples, bool live) {
  std::vector<DemuxOutputPin*> pins;
  {
    std::lock_guard lock(coreLock);
    for (const DemuxSample& s : samples) {
      const auto found = pinsById.find(s.output);
      pins.push_back(found == pinsById.end() ? nullptr : found->second);
    }
  }
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (pins[i] != nullptr) pins[i]->Enqueue(std::move(samples[i]), live);
  }
}

// Each connected output passes the call on; a failure of one does not keep
// the others from it.
template <typename Call>
void DemuxFilter::ForEachConnectedOutput(Call&& call) {
  std::vector<DemuxOutputPin*> pins;
  {
    std::lock_guard lock(StateLock());
    for (auto& pin : outputs) {
      if (pin->IsConnected()) pins.push_back(pin.get());
    }
  }
  for (DemuxOutputPin* pin : pins) call(*pin);
}

// The queues empty first, so the input no longer waits for room, then the
// flush goes downstream, which ends a delivery in progress.
void DemuxFilter::BeginFlush() {
  ForEachConnectedOutput([](DemuxOutputPin& pin) {
    pin.BeginFlushQueue();
    pin.DeliverBeginFlush();
  });
}

void DemuxFilter::EndFlush() {
  {
    std::lock_guard streaming(streamingLock);
    std::lock_guard lock(coreLock);
    core.Reset();
  }
  ForEachConnectedOutput([](DemuxOutputPin& pin) {
    pin.EndFlushQueue();
    pin.DeliverEndFlush();
  });
}

void DemuxFilter::EndOfStream() {
  std::vector<DemuxSample> samples;
  {
    std::lock_guard streaming(streamingLock);
    {
      std::lock_guard lock(coreLock);
      core.EndOfStream([&](DemuxSample&& s) { samples.push_back(std::move(s)); });
    }
    DeliverAll(samples, false);
  }
  ForEachConnectedOutput([](DemuxOutputPin& pin) { pin.EnqueueEndOfStream(); });
}

void DemuxFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  ForEachConnectedOutput(
      [&](DemuxOutputPin& pin) { pin.DeliverNewSegment(start, stop, rate); });
}

HRESULT DemuxFilter::MapPids(int output, ULONG count, const ULONG* pids,
                             MEDIA_SAMPLE_CONTENT content) {
  RETURN_HR_IF(E_INVALIDARG, count == 0);
  const auto kind = ContentFor(content);
  RETURN_HR_IF(E_INVALIDARG, !kind);
  for (ULONG i = 0; i < count; ++i) RETURN_HR_IF(E_INVALIDARG, pids[i] > TsDemuxCore::kMaxPid);
  std::lock_guard lock(coreLock);
  for (ULONG i = 0; i < count; ++i) core.MapPid(output, static_cast<std::uint16_t>(pids[i]), *kind);
  return S_OK;
}

// Every mapped PID of the list is unmapped; the result says whether all of
// them were mapped.
HRESULT DemuxFilter::UnmapPids(int output, ULONG count, const ULONG* pids) {
  RETURN_HR_IF(E_INVALIDARG, count == 0);
  bool allMapped = true;
  std::lock_guard lock(coreLock);
  for (ULONG i = 0; i < count; ++i) {
    const bool mapped = pids[i] <= TsDemuxCore::kMaxPid &&
                        core.UnmapPid(output, static_cast<std::uint16_t>(pids[i]));
    allMapped = allMapped && mapped;
  }
  return allMapped ? S_OK : E_INVALIDARG;
}

std::vector<PidMapping> DemuxFilter::Mapping(int output) {
  std::lock_guard lock(coreLock);
  return core.Mapping(output);
}

}  // namespace standin
