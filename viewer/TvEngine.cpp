#include "viewer/TvEngine.h"

#include <vector>

#include "graph/GraphMessageBox.h"
#include "graph/GraphToolkit.h"
#include "graph/LiveGraphBuilder.h"

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
  return Shown(LiveGraphBuilder(live, request).Build());
}

HRESULT TvEngine::TuneChannel(const TuneValues& channel) {
  return Shown(live.tuning.TuneChannel(channel.physical, channel.major, channel.minor));
}

std::optional<long> TvEngine::SignalStrength() {
  if (FAILED(live.tuning.ReadSignalStrength())) return std::nullopt;
  return live.tuning.SignalStrength();
}

HRESULT TvEngine::SetVideoPosition(HWND videoWindow, AspectMode aspectMode, bool overscan) {
  return Shown(live.renderer.SetVideoPosition(videoWindow, aspectMode, overscan));
}

bool TvEngine::RepaintVideo(HWND videoWindow, HDC dc) {
  return live.renderer.Repaint(videoWindow, dc);
}

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

void TvEngine::StopRecording() { recording = false; }

void TvEngine::TearDown() {
  const bool liveMode = !timeshiftOn && !recording;
  TearDownGraphs(live.graphs, live.filters, liveMode);
  live.control.Reset();
  live.basicAudio.Reset();
  live.renderer.Reset();
  live.tuning.Reset();
}
