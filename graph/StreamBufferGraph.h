#pragma once
// Timeshift and recording through the platform's stream buffer. The filters
// of the live graph move into the sink graph (tuner, capture,
// demultiplexer, TIF, with the stream-buffer sink and the video stream
// analyser) and the source graph (the stream-buffer source feeding the
// decoders and renderers), and back, by running the transition plans. A
// transition that fails after it started moving filters goes back to live
// television, so that the picture keeps running. Playback inside the
// buffer (seek, pause, run) and the content recorder are here too.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "core/time/CivilTime.h"
#include "core/tuning/TuningModel.h"
#include "dshow/StreamBufferInterfaces.h"
#include "graph/DecoderHold.h"
#include "graph/GraphOutcome.h"
#include "graph/LiveGraph.h"
#include "graph/StreamBufferPlan.h"

// What a transition needs to know of the program.
struct StreamBufferRequest {
  const TuningModel* model = nullptr;
  std::string timeshiftKey;      // registry key holding the "Timeshift" folder value
  std::string recordKey;         // registry key holding the "Record" folder value
  std::string videoDecoderName;  // from decoders.txt; empty without it
  int major = 0;                 // the tuned channel, for the recording's name
  int minor = 0;
  CivilTime now;                 // when the names are made
};

class StreamBufferGraph : private TransitionPlatform {
 public:
  explicit StreamBufferGraph(LiveGraph& live) : live(live) {}

  // From live television into the stream buffer; the outcome holds every
  // message to tell, those of a return to live after a half-way failure
  // included. After a failure the graphs are live again when that worked.
  GraphOutcome StartTimeshift(const StreamBufferRequest& request);
  GraphOutcome RecordFromLive(const StreamBufferRequest& request);
  GraphOutcome ReturnToLive();
  // A new content recording of the timeshift period, in the timeshift
  // folder, while timeshifting.
  GraphOutcome StartTimeshiftRecording(const StreamBufferRequest& request);
  // Whether the last failed start is back at live television.
  bool BackAtLive() const { return backAtLive; }

  // The recording from live (full path), empty before the first one.
  const std::string& RecordingName() const { return recordingName; }
  // The path of the timeshift period's own recording.
  const std::string& TimeshiftRecordingName() const { return timeshiftRecordingName; }

  // Playback inside the buffer, positions in 100-nanosecond units.
  HRESULT Position(long long* position);
  // The buffer's live edge: the latest position it holds.
  HRESULT LiveEdge(long long* latest);
  HRESULT SeekTo(long long position);
  HRESULT PausePlayback();
  HRESULT ResumePlayback();

  // The source graph's events are posted to `window` as `message` (none
  // when `window` is null); the window then calls PassTimeHoles.
  HRESULT NotifySourceEvents(HWND window, UINT message);
  // Takes the source graph's waiting events and seeks past a time hole
  // among them; the milliseconds skipped (0: none).
  long long PassTimeHoles();

  // Whether the content recorder reports that its recording has begun (the
  // first picture is in the file); false while none runs.
  bool RecordingHasBegun();

  // Stops the content recording at once (nothing when none runs), and the
  // sink graph, the source graph.
  void StopRecorder();
  void StopSinkGraph();
  void StopSourceGraph();

  // Lets go of every stream-buffer interface (the filters are the live
  // graph's); the recorder is stopped first.
  void Reset();

 private:
  GraphOutcome Start(const StreamBufferRequest& request, bool record);
  GraphOutcome Perform(const TransitionStep& step) override;

  IGraphBuilder* Graph(GraphKind kind) const;
  Microsoft::WRL::ComPtr<IBaseFilter>* Slot(BufferFilter filter);
  IBaseFilter* Get(BufferFilter filter);
  const std::string& KeyOf(BufferFolder folder) const;

  HRESULT CheckFolder(BufferFolder folder);
  HRESULT FindDecoders();
  HRESULT Add(const TransitionStep& step);
  HRESULT Create(const TransitionStep& step);
  GraphOutcome Connect(const TransitionStep& step);
  HRESULT Configure(BufferFolder folder);
  HRESULT LockProfile();
  HRESULT SetStreamSink();
  HRESULT QueryMediaControl(GraphKind graph);
  // The stream-buffer source's seeking interface.
  HRESULT Seeking(Microsoft::WRL::ComPtr<IStreamBufferMediaSeeking>* seeking);
  HRESULT CreateRecorder(BufferFolder folder);
  HRESULT StartRecorder();

  LiveGraph& live;
  StreamBufferRequest request;
  bool record = false;
  bool backAtLive = true;
  std::string folder;  // of the transition running, as the registry holds it
  std::string stubName;
  std::string recordingName;
  std::string timeshiftRecordingName;

  Microsoft::WRL::ComPtr<IStreamBufferConfigure> configure;
  Microsoft::WRL::ComPtr<IStreamBufferSink> sink;
  // The sink that was handed its key (held, so that a new sink at the same
  // address is never taken for it).
  Microsoft::WRL::ComPtr<IBaseFilter> keyedSink;
  // The video decoder held around the source graph's run, for the decoders
  // that want it.
  DecoderHold decoderHold;
  Microsoft::WRL::ComPtr<IStreamBufferSource> source;
  Microsoft::WRL::ComPtr<IUnknown> recorderObject;
  Microsoft::WRL::ComPtr<IStreamBufferRecordControl> recorder;
  Microsoft::WRL::ComPtr<IMediaControl> sinkControl;
  Microsoft::WRL::ComPtr<IMediaControl> sourceControl;
  Microsoft::WRL::ComPtr<IMediaEventEx> sourceEvents;
};
