#include "graph/FilterGraphs.h"

#include <initializer_list>
#include <memory>

using Microsoft::WRL::ComPtr;

namespace {

HRESULT CreateGraph(ComPtr<IGraphBuilder>& graph) {
  return CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                          IID_PPV_ARGS(graph.ReleaseAndGetAddressOf()));
}

// Stopping a graph that never ran, or one already half torn down, may fail:
// teardown goes on regardless.
void StopGraph(const ComPtr<IGraphBuilder>& graph) {
  ComPtr<IMediaControl> control;
  if (graph && SUCCEEDED(graph.As(&control))) {
    control->Stop();  // result ignored: see above
  }
}

void RemoveFilters(IGraphBuilder* graph, std::initializer_list<IBaseFilter*> filters) {
  if (graph == nullptr) return;
  for (IBaseFilter* filter : filters) {
    if (filter != nullptr) graph->RemoveFilter(filter);  // a filter not in this graph is no harm
  }
}

}  // namespace

GraphOutcome CreateGraphs(FilterGraphs& graphs) {
  for (ComPtr<IGraphBuilder>* graph :
       {std::addressof(graphs.live), std::addressof(graphs.sink), std::addressof(graphs.source)}) {
    const HRESULT hr = CreateGraph(*graph);
    if (FAILED(hr)) return GraphOutcome::Failure(hr, Exclaim("CAN'T INITIALIZE FILTER GRAPH"));
  }
  return GraphOutcome::Result(S_OK);
}

void TearDownGraphs(FilterGraphs& graphs, GraphFilters& f, bool liveMode) {
  if (liveMode) {
    StopGraph(graphs.live);
    RemoveFilters(graphs.live.Get(),
                  {f.networkProvider.Get(), f.tuner.Get(), f.capture.Get(), f.demux.Get(),
                   f.tif.Get(), f.videoDecoder.Get(), f.audioDecoder.Get(),
                   f.videoRenderer.Get(), f.soundRenderer.Get()});
  } else {
    StopGraph(graphs.sink);
    StopGraph(graphs.source);
    RemoveFilters(graphs.sink.Get(),
                  {f.networkProvider.Get(), f.tuner.Get(), f.capture.Get(), f.demux.Get(),
                   f.tif.Get(), f.bufferSink.Get(), f.analyser.Get()});
    RemoveFilters(graphs.source.Get(),
                  {f.bufferSource.Get(), f.videoDecoder.Get(), f.audioDecoder.Get(),
                   f.videoRenderer.Get(), f.soundRenderer.Get()});
  }
  f = GraphFilters{};
  graphs = FilterGraphs{};
}
