#include "viewer/TvEngine.h"

#include "graph/GraphMessageBox.h"
#include "win/HResultMacros.h"

HRESULT TvEngine::CreateGraphs(bool noChannelList) {
  const GraphOutcome created = ::CreateGraphs(live.graphs);
  ShowGraphMessages(created);
  RETURN_IF_FAILED(created.result);
  if (noChannelList) {
    aspectMode = 1;
    live.tuning.SetTuned(TuneValues{live.tuning.Tuned().physical, -1, -1});
  }
  return S_OK;
}

void TvEngine::SetModel(int modelNumber, const TunerNames& names) {
  model = modelNumber;
  tunerNames = names;
  const std::optional<TunerNames> tunerFile =
      modelNumber == kTunerFileModel ? std::optional<TunerNames>(names) : std::nullopt;
  modelRow = FindTuningModel(modelNumber, tunerFile);
  if (modelRow) {
    timeshiftKey = TimeshiftRegistryKey(*modelRow);
    recordKey = RecordRegistryKey(*modelRow);
  }
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

HRESULT TvEngine::SetVideoPosition(HWND videoWindow) {
  const GraphOutcome placed = live.renderer.SetVideoPosition(videoWindow, aspectMode, overscan);
  ShowGraphMessages(placed);
  return placed.result;
}
