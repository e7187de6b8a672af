#include "viewer/TvEngine.h"

#include "win/HResultMacros.h"

HRESULT TvEngine::CreateGraphs(bool noChannelList) {
  RETURN_IF_FAILED(::CreateGraphs(graphs));
  if (noChannelList) {
    aspectMode = 1;
    tuning.SetTuned(TuneValues{tuning.Tuned().physical, -1, -1});
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
  TearDownGraphs(graphs, filters, liveMode);
  liveControl.Reset();
  basicAudio.Reset();
  renderer.Release();
  tuning.Release();
}

HRESULT TvEngine::SetVideoPosition(HWND videoWindow) {
  return renderer.SetVideoPosition(videoWindow, aspectMode, overscan);
}
