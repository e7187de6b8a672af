#pragma once
// The three filter graphs of a Telvantis program and the filters in them:
// the live graph, and for timeshift and recording the sink graph (tuner side)
// and the source graph (playback side).

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "graph/GraphOutcome.h"

struct FilterGraphs {
  Microsoft::WRL::ComPtr<IGraphBuilder> live;
  Microsoft::WRL::ComPtr<IGraphBuilder> sink;
  Microsoft::WRL::ComPtr<IGraphBuilder> source;
};

struct GraphFilters {
  Microsoft::WRL::ComPtr<IBaseFilter> networkProvider;
  Microsoft::WRL::ComPtr<IBaseFilter> tuner;
  Microsoft::WRL::ComPtr<IBaseFilter> capture;  // none for a tuner that feeds the demultiplexer
  Microsoft::WRL::ComPtr<IBaseFilter> demux;
  Microsoft::WRL::ComPtr<IBaseFilter> tif;
  Microsoft::WRL::ComPtr<IBaseFilter> videoDecoder;
  Microsoft::WRL::ComPtr<IBaseFilter> audioDecoder;
  Microsoft::WRL::ComPtr<IBaseFilter> videoRenderer;
  Microsoft::WRL::ComPtr<IBaseFilter> soundRenderer;
  Microsoft::WRL::ComPtr<IBaseFilter> bufferSink;
  Microsoft::WRL::ComPtr<IBaseFilter> analyser;
  Microsoft::WRL::ComPtr<IBaseFilter> bufferSource;
};

// Creates the graph managers in the order live, sink, source. Fails with
// "CAN'T INITIALIZE FILTER GRAPH" when one cannot be created.
GraphOutcome CreateGraphs(FilterGraphs& graphs);

// Stops the graphs and takes every filter out of them, then lets go of the
// filters and the graph managers. In live mode only the live graph is used;
// otherwise the sink and source graphs are (a running stream-buffer recorder
// must be stopped by its owner first).
void TearDownGraphs(FilterGraphs& graphs, GraphFilters& filters, bool liveMode);
