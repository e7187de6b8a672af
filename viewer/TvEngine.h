#pragma once
// The viewer's live engine: the filter graphs with every filter and
// interface in them and the tuner behind them, created at start-up and
// released at exit. The tuner model and the channels are the session's; the
// engine is told what to build and tune.

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry/Geometry.h"
#include "core/geometry/VideoPosition.h"
#include "core/tuning/ChannelTuning.h"
#include "core/tuning/TuningModel.h"
#include "graph/LiveGraph.h"
#include "graph/StreamBufferGraph.h"

class ViewerSession;

class TvEngine {
 public:
  TvEngine() = default;
  TvEngine(const TvEngine&) = delete;
  TvEngine& operator=(const TvEngine&) = delete;

  // The friendly name of the first BDA network tuner device on the system;
  // nothing when there is none or the devices cannot be listed.
  static std::optional<std::string> FindFirstTunerDevice();

  // The guide's share of the live graph: `packets` gets the table packets
  // on the streaming thread, `retuned` is called on each tune (the tables
  // start afresh). Set before BuildLiveGraph; without it the live graph
  // has no tables' branch.
  void SetGuideFeed(SectionSinkInputPin::SectionHandler packets, std::function<void()> retuned);
  // Maps exactly these PIDs (sorted) for the guide; nothing without the
  // branch. A PID that cannot be mapped is tried again at the next call.
  void MapGuidePids(const std::vector<std::uint16_t>& pids);

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

  // Stops the live graph so that another graph may use the tuner, and runs
  // it again tuned to the channel it had. Nothing to do without a graph.
  HRESULT StopLive();
  HRESULT RestartLive();

  // Re-fits the picture into the video window for the aspect mode and
  // overscan; a failure has shown its message.
  HRESULT SetVideoPosition(HWND videoWindow, AspectMode aspectMode, bool overscan);
  bool HasVideo() const { return live.renderer.HasControl(); }
  Size NativeVideoSize() const { return live.renderer.NativeSize(); }
  bool RepaintVideo(HWND videoWindow, HDC dc);
  // Passes a change of the display mode on to the renderer: its result.
  HRESULT DisplayModeChanged();

  // The second display the renderer found, if there is one, and the move of
  // the renderer to the primary display or to that one.
  std::optional<Size> SecondDisplaySize() const;
  void SelectRendererMonitor(bool fullScreenOnPrimary);

  // Silences the sound renderer, or gives it back its full volume; the new
  // state, or nothing when the renderer cannot be read or set.
  std::optional<bool> ToggleMute();

  // Whether a recording runs (recording arrives with the stream buffer).
  bool IsRecording() const { return recording; }

  // Timeshift and recording through the stream buffer. Each transition
  // shows its messages itself and keeps the session's timeshifting and
  // recording marks; after a transition that failed half-way live
  // television runs again when that could be done. The folders come from
  // the tuner model's registry keys, the recording's name from the current
  // channel and the local time.
  bool IsTimeshifting() const { return timeshiftOn; }
  // From live into timeshift, or (timeshifting) back to live.
  HRESULT ToggleTimeshift(ViewerSession& session);
  // From live into a recording in the record folder.
  HRESULT StartRecordingFromLive(ViewerSession& session);
  // The timeshift period's own content recording (part of the move into
  // timeshift; the name is made from the local time).
  HRESULT StartTimeshiftRecording(ViewerSession& session);
  // Back to live television from the stream buffer.
  HRESULT ReturnToLive(ViewerSession& session);
  // The full path of the last recording from live.
  const std::string& RecordingFileName() const { return buffer.RecordingName(); }

  // Playback inside the buffer while timeshifting; seconds as the panel's
  // skip sizes hold them. A skip back never goes before the start; a skip
  // forward from a position that cannot be read goes to the live edge.
  HRESULT SkipForward(int seconds);
  HRESULT SkipBack(int seconds);
  HRESULT SeekToStart();
  // Playback's position in the buffer, in 100-nanosecond units (0 when it
  // cannot be read).
  long long GetPlaybackPosition();
  HRESULT PausePlayback();
  HRESULT ResumePlayback();
  // Where the source graph's events go while timeshifting: posted to
  // `window` as `message`, which then calls PassTimeHoles.
  void SetPlaybackEventWindow(HWND window, UINT message);
  // Playback seeks past a time hole the source graph told of; the seconds
  // skipped (0: none).
  int PassTimeHoles();
  // Whether the recording from live has begun writing (its time counts from
  // there).
  bool RecordingHasBegun() { return recording && buffer.RecordingHasBegun(); }
  // Ends the recording: the recorder and both stream-buffer graphs stop
  // (the return to live follows). Nothing to do while none runs.
  void StopRecording();
  // The buffer stops filling: the recorder and the sink graph stop, the
  // source graph plays on to the end of what it holds.
  void StopBuffering();

  // Stops the graphs and releases every filter and interface; the engine
  // can be torn down more than once.
  void TearDown();

 private:
  HRESULT StartBuffer(ViewerSession& session, bool record);

  LiveGraph live;
  StreamBufferGraph buffer{live};
  SectionSinkInputPin::SectionHandler guidePackets;
  std::function<void()> guideRetuned;
  bool timeshiftOn = false;
  bool recording = false;
  HWND eventWindow = nullptr;
  UINT eventMessage = 0;
};
