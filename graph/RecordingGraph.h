#pragma once
// What a silent recorder keeps of its recording graph from the build to the
// teardown: the one graph, the filters in it, the tuning objects, and the
// controls of the graph, of the dump filter's file or of the stream-buffer
// recording.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "core/tuning/ChannelTuning.h"
#include "core/tuning/TuningModel.h"
#include "dshow/StreamBufferInterfaces.h"
#include "graph/AtscTuning.h"
#include "graph/GraphOutcome.h"
#include "graph/RecordingGraphEvents.h"
#include "graph/GraphPlan.h"
#include "win/UniqueHandle.h"

struct RecordingGraph {
  Microsoft::WRL::ComPtr<IGraphBuilder> graph;
  Microsoft::WRL::ComPtr<IBaseFilter> networkProvider;
  Microsoft::WRL::ComPtr<IBaseFilter> tuner;
  Microsoft::WRL::ComPtr<IBaseFilter> capture;
  Microsoft::WRL::ComPtr<IBaseFilter> tee;
  Microsoft::WRL::ComPtr<IBaseFilter> dump;
  Microsoft::WRL::ComPtr<IBaseFilter> demux;
  Microsoft::WRL::ComPtr<IBaseFilter> tif;
  Microsoft::WRL::ComPtr<IBaseFilter> bufferSink;
  Microsoft::WRL::ComPtr<IBaseFilter> analyser;
  AtscTuning tuning;
  Microsoft::WRL::ComPtr<IMediaControl> control;
  Microsoft::WRL::ComPtr<IMediaEventEx> events;
  Microsoft::WRL::ComPtr<IFileSinkFilter> fileSink;
  Microsoft::WRL::ComPtr<IStreamBufferSink> sink;
  Microsoft::WRL::ComPtr<IStreamBufferConfigure> configuration;
  Microsoft::WRL::ComPtr<IUnknown> recorder;
  Microsoft::WRL::ComPtr<IStreamBufferRecordControl> recordControl;
  UniqueHkey recordKey;
};

// What a recording graph build needs to know of the program.
struct RecordingGraphRequest {
  const TuningModel* model = nullptr;  // no model: no device is accepted
  TuneValues channel;                  // tuned right after the tuner is added
  std::string fileName;                // the recording's full name
  std::string folder;                  // the stream buffer's folder
  std::string recordKey;               // the model's Record key, for the stream buffer
};

// Creates the graph ("CAN'T INITIALIZE FILTER GRAPH") and runs the plan on
// it. A failed build leaves what it made in `graph` for the teardown.
GraphOutcome BuildRecordingGraph(RecordingGraph& graph, const RecordingGraphRequest& request,
                                 const GraphPlan& plan);

// Graph events (a filter's EC_ERRORABORT, say) are posted to `window` as
// `message`; the window then calls TakeGraphEvents.
HRESULT NotifyGraphEvents(RecordingGraph& graph, HWND window, UINT message);

// Reads the waiting graph events; the first that ends the recording from
// inside the graph (a write failure or another abort) says how.
RecordingEnd TakeGraphEvents(RecordingGraph& graph);

// Stops the recorder and the graph, takes every filter out, and lets go of
// everything. Only what was made is touched, so it also ends a failed build.
void TearDownRecordingGraph(RecordingGraph& graph);
