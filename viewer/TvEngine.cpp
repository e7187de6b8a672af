#include "viewer/TvEngine.h"

#include "win/HResultMacros.h"

HRESULT TvEngine::CreateGraphs(bool noChannelList) {
  RETURN_IF_FAILED(::CreateGraphs(live.graphs));
  if (noChannelList) {
    aspectMode = AspectMode::Ratio16x9;
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
  live.renderer.Release();
  live.tuning.Release();
}

HRESULT TvEngine::SetVideoPosition(HWND videoWindow) {
  return live.renderer.SetVideoPosition(videoWindow, aspectMode, overscan);
}
