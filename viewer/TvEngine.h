#pragma once
// The viewer's live engine: the filter graphs with every filter and
// interface in them and the tuner behind them, created at start-up and
// released at exit. The tuner model and the channels are the session's; the
// engine is told what to build and tune.

#include <windows.h>
#include <dshow.h>

#include <optional>
#include <string>

#include "core/geometry/Geometry.h"
#include "core/geometry/VideoPosition.h"
#include "core/tuning/ChannelTuning.h"
#include "core/tuning/TuningModel.h"
#include "graph/LiveGraph.h"

class TvEngine {
 public:
  TvEngine() = default;
  TvEngine(const TvEngine&) = delete;
  TvEngine& operator=(const TvEngine&) = delete;

  // The friendly name of the first BDA network tuner device on the system;
  // nothing when there is none or the devices cannot be listed.
  static std::optional<std::string> FindFirstTunerDevice();

  // Creates the graph managers; a failure has shown its message.
  HRESULT CreateGraphs();

  // Builds and starts the live graph for the tuner model (none: no device
  // is accepted), tuned to `channel`, painting into `videoWindow` on the
  // primary display or the other one. A failing step has shown its message.
  HRESULT BuildLiveGraph(const TuningModel* model, const TuneValues& channel, HWND videoWindow,
                         bool fullScreenOnPrimary);

  // Tunes the live graph to another channel; a failing step has shown its
  // message and the graph keeps what it was tuned to.
  HRESULT TuneChannel(const TuneValues& channel);

  // The tuner's raw signal strength; nothing when it cannot be read.
  std::optional<long> SignalStrength();

  // Re-fits the picture into the video window for the aspect mode and
  // overscan; a failure has shown its message.
  HRESULT SetVideoPosition(HWND videoWindow, AspectMode aspectMode, bool overscan);
  bool HasVideo() const { return live.renderer.HasControl(); }
  Size NativeVideoSize() const { return live.renderer.NativeSize(); }
  bool RepaintVideo(HWND videoWindow, HDC dc);

  // The second display the renderer found, if there is one, and the move of
  // the renderer to the primary display or to that one.
  std::optional<Size> SecondDisplaySize() const;
  void SelectRendererMonitor(bool fullScreenOnPrimary);

  // Silences the sound renderer, or gives it back its full volume; the new
  // state, or nothing when the renderer cannot be read or set.
  std::optional<bool> ToggleMute();

  // Whether a recording runs (recording arrives with the stream buffer).
  bool IsRecording() const { return recording; }
  // Stops a running recording; nothing to do while none runs.
  void StopRecording();

  // Stops the graphs and releases every filter and interface; the engine
  // can be torn down more than once.
  void TearDown();

 private:
  LiveGraph live;
  bool timeshiftOn = false;
  bool recording = false;
};
