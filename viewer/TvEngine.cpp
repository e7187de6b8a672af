#include "viewer/TvEngine.h"

#include <vector>

#include "graph/GraphMessageBox.h"
#include "graph/GraphToolkit.h"
#include "graph/LiveGraphBuilder.h"
#include "core/files/FileNames.h"
#include "viewer/ViewerSession.h"
#include "win/LocalNow.h"

namespace {

// The sound renderer's volume scale, in hundredths of a decibel.
constexpr long kSilent = -10000;
constexpr long kFullVolume = 0;

// The viewer tells the user every message of a graph operation, in order.
HRESULT Shown(const GraphOutcome& outcome) {
  ShowGraphMessages(outcome);
  return outcome.result;
}

}  // namespace

std::optional<std::string> TvEngine::FindFirstTunerDevice() {
  std::vector<std::string> names;
  const GraphOutcome listed = EnumerateTunerDevices(&names);
  ShowGraphMessages(listed);
  if (listed.Failed() || names.empty()) return std::nullopt;
  return names.front();
}

void TvEngine::SetGuideFeed(SectionSinkInputPin::SectionHandler packets,
                            std::function<void()> retuned) {
  guidePackets = std::move(packets);
  guideRetuned = std::move(retuned);
}

void TvEngine::MapGuidePids(const std::vector<std::uint16_t>& pids) {
  if (live.tables.IsPresent()) live.tables.MapExactly(pids);  // a failure is tried again next time
}

HRESULT TvEngine::CreateGraphs() { return Shown(::CreateGraphs(live.graphs)); }

HRESULT TvEngine::BuildLiveGraph(const TuningModel* model, const TuneValues& channel,
                                 HWND videoWindow, bool fullScreenOnPrimary) {
  timeshiftOn = false;
  recording = false;
  LiveGraphRequest request;
  request.model = model;
  request.channel = channel;
  request.videoWindow = videoWindow;
  request.fullScreenOnPrimary = fullScreenOnPrimary;
  request.tablePackets = guidePackets;
  return Shown(LiveGraphBuilder(live, request).Build());
}

// Another station's tables follow a tune: the reader starts afresh and the
// last station's guide PIDs are unmapped.
HRESULT TvEngine::TuneChannel(const TuneValues& channel) {
  if (guideRetuned) guideRetuned();
  MapGuidePids({0x1FFB});
  return Shown(live.tuning.TuneChannel(channel.physical, channel.major, channel.minor));
}

std::optional<long> TvEngine::SignalStrength() {
  if (FAILED(live.tuning.ReadSignalStrength())) return std::nullopt;
  return live.tuning.SignalStrength();
}

HRESULT TvEngine::StopLive() { return live.control ? live.control->Stop() : S_FALSE; }

// The tuner was tuned elsewhere in the meantime: the live graph's channel
// is asked for again before it runs.
HRESULT TvEngine::RestartLive() {
  if (!live.control) return S_FALSE;
  if (live.tuning.HasTuner()) TuneChannel(live.tuning.Tuned());  // a failure has shown its message
  return live.control->Run();
}

HRESULT TvEngine::SetVideoPosition(HWND videoWindow, AspectMode aspectMode, bool overscan) {
  return Shown(live.renderer.SetVideoPosition(videoWindow, aspectMode, overscan));
}

bool TvEngine::RepaintVideo(HWND videoWindow, HDC dc) {
  return live.renderer.Repaint(videoWindow, dc);
}

HRESULT TvEngine::DisplayModeChanged() { return live.renderer.DisplayModeChanged(); }

std::optional<Size> TvEngine::SecondDisplaySize() const {
  if (!live.renderer.HasSecondaryMonitor()) return std::nullopt;
  return live.renderer.SecondaryMonitorSize();
}

void TvEngine::SelectRendererMonitor(bool fullScreenOnPrimary) {
  live.renderer.SelectMonitor(fullScreenOnPrimary, live.control.Get());
}

std::optional<bool> TvEngine::ToggleMute() {
  if (!live.basicAudio) return std::nullopt;
  long volume = 0;
  if (FAILED(live.basicAudio->get_Volume(&volume))) return std::nullopt;
  const bool mute = volume >= kFullVolume;
  if (FAILED(live.basicAudio->put_Volume(mute ? kSilent : kFullVolume))) return std::nullopt;
  return mute;
}

HRESULT TvEngine::ToggleTimeshift(ViewerSession& session) {
  return timeshiftOn ? ReturnToLive(session) : StartBuffer(session, false);
}

HRESULT TvEngine::StartRecordingFromLive(ViewerSession& session) {
  if (timeshiftOn) return E_UNEXPECTED;  // recording starts from live only
  return StartBuffer(session, true);
}

// The timeshift move starts its own recording as its last step; this starts
// a new one (under a new name, from now) while timeshifting.
HRESULT TvEngine::StartTimeshiftRecording(ViewerSession& session) {
  if (!timeshiftOn || recording) return E_UNEXPECTED;
  buffer.StopRecorder();
  StreamBufferRequest request;
  request.model = session.ModelRow();
  request.timeshiftKey = session.TimeshiftRegistryKey();
  request.now = LocalNow();
  return Shown(buffer.StartTimeshiftRecording(request));
}

HRESULT TvEngine::StartBuffer(ViewerSession& session, bool record) {
  StreamBufferRequest request;
  request.model = session.ModelRow();
  request.timeshiftKey = session.TimeshiftRegistryKey();
  request.recordKey = session.RecordRegistryKey();
  if (const std::optional<DecoderNames> names = ReadDecodersFile(FileNames::kDecoders)) {
    request.videoDecoderName = names->video;
  }
  if (const ChannelEntry* channel = session.CurrentChannel()) {
    request.major = channel->major;
    request.minor = channel->minor;
  }
  request.now = LocalNow();
  timeshiftOn = true;
  recording = record;
  const GraphOutcome outcome =
      record ? buffer.RecordFromLive(request) : buffer.StartTimeshift(request);
  ShowGraphMessages(outcome);
  if (outcome.Failed()) {
    // No recording runs; the stream buffer's graphs are in use only when
    // live television could not be rebuilt.
    recording = false;
    timeshiftOn = !buffer.BackAtLive();
  }
  session.SetTimeshifting(timeshiftOn && !recording);
  session.SetRecording(recording);
  // Without the events a time hole after a long pause shows a still
  // picture for its length, as before; nothing else depends on them.
  if (timeshiftOn && eventWindow != nullptr) buffer.NotifySourceEvents(eventWindow, eventMessage);
  return outcome.result;
}

HRESULT TvEngine::ReturnToLive(ViewerSession& session) {
  if (!timeshiftOn) return S_FALSE;
  timeshiftOn = false;
  recording = false;
  session.SetTimeshifting(false);
  session.SetRecording(false);
  return Shown(buffer.ReturnToLive());
}

// A position that cannot be read is no reason to seek from the start of the
// buffer: the skip goes to the live edge instead, or nowhere.
HRESULT TvEngine::SkipForward(int seconds) {
  if (!timeshiftOn) return S_FALSE;
  long long position = 0;
  const HRESULT read = buffer.Position(&position);
  long long edge = 0;
  const bool edgeRead = FAILED(read) && SUCCEEDED(buffer.LiveEdge(&edge));
  const std::optional<long long> target =
      PositionAfterSkip(SUCCEEDED(read) ? std::optional<long long>(position) : std::nullopt,
                        seconds * kUnitsPerSecond,
                        edgeRead ? std::optional<long long>(edge) : std::nullopt);
  if (!target) return read;  // playback stays where it is
  return buffer.SeekTo(*target);
}

HRESULT TvEngine::SkipBack(int seconds) {
  if (!timeshiftOn) return S_FALSE;
  return buffer.SeekTo(PositionAfterSkipBack(GetPlaybackPosition(), seconds * kUnitsPerSecond));
}

HRESULT TvEngine::SeekToStart() { return timeshiftOn ? buffer.SeekTo(0) : S_FALSE; }

long long TvEngine::GetPlaybackPosition() {
  long long position = 0;
  if (timeshiftOn) buffer.Position(&position);  // 0 when it cannot be read
  return position;
}

HRESULT TvEngine::PausePlayback() { return timeshiftOn ? buffer.PausePlayback() : S_FALSE; }

HRESULT TvEngine::ResumePlayback() { return timeshiftOn ? buffer.ResumePlayback() : S_FALSE; }

void TvEngine::SetPlaybackEventWindow(HWND window, UINT message) {
  eventWindow = window;
  eventMessage = message;
}

int TvEngine::PassTimeHoles() {
  if (!timeshiftOn) return 0;
  return static_cast<int>(buffer.PassTimeHoles() / 1000);
}

void TvEngine::StopRecording() {
  if (!recording) return;
  buffer.StopRecorder();
  buffer.StopSinkGraph();
  buffer.StopSourceGraph();
  recording = false;
}

void TvEngine::StopBuffering() {
  if (!timeshiftOn) return;
  buffer.StopRecorder();
  buffer.StopSinkGraph();
}

void TvEngine::TearDown() {
  // A recording in the stream buffer is ended whole before the graphs go.
  if (timeshiftOn || recording) buffer.StopRecorder();
  buffer.Reset();
  const bool liveMode = !timeshiftOn && !recording;
  TearDownGraphs(live.graphs, live.filters, liveMode);
  live.control.Reset();
  live.basicAudio.Reset();
  live.renderer.Reset();
  live.tuning.Reset();
  live.tables.Remove(nullptr);  // its sink went with the live graph
}
