#pragma once
// The viewer's live engine: the filter graphs and every filter and interface
// in them, the tuning state, the channel table and the tuner model, created
// at start-up and released at exit.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "graph/LiveGraph.h"
#include "core/files/TunerFiles.h"
#include "core/geometry/VideoPosition.h"
#include "core/tuning/TuningModel.h"

class TvEngine {
 public:
  // Creates the three graph managers. Without a channel list the picture
  // starts in 16:9 and no major or minor channel is tuned.
  HRESULT CreateGraphs(bool noChannelList);

  // Takes on the tuner model in use and the names and registry keys that
  // come with it.
  void SetModel(int modelNumber, const TunerNames& names);

  // Whether a recording runs (recording arrives with the stream buffer).
  bool IsRecording() const { return recording; }
  // Stops a running recording; nothing to do while none runs.
  void StopRecording();

  // Stops the graphs and releases every filter and interface.
  void TearDown();

  // Re-fits the picture into the video window.
  HRESULT SetVideoPosition(HWND videoWindow);

  LiveGraph live;

  int model = -1;          // the model in use (catalogue row, 20: tuner.txt)
  int selectedModel = -1;  // the model chosen for the next start
  std::optional<TuningModel> modelRow;
  TunerNames tunerNames;
  std::string timeshiftKey;
  std::string recordKey;

  std::vector<ChannelEntry> channels;
  int currentChannel = 0;
  int previousChannel = 0;

  AspectMode aspectMode = AspectMode::Ratio16x9;
  bool overscan = true;
  bool fullScreenOnPrimary = true;
  int skipForwardSeconds = 60;
  int skipBackSeconds = 15;

  bool timeshiftOn = false;
  bool sinkCreated = false;
  bool recording = false;
};
