#include "graph/FilterGraphs.h"

#include <initializer_list>
#include <memory>

#include "graph/GraphToolkit.h"
#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

HRESULT CreateGraph(ComPtr<IGraphBuilder>& graph) {
  graph.Reset();
  return CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                          reinterpret_cast<void**>(graph.GetAddressOf()));
}

// Stopping a graph that never ran, or one already half torn down, may fail:
// teardown goes on regardless.
void StopGraph(IGraphBuilder* graph) {
  ComPtr<IMediaControl> control;
  if (graph != nullptr && SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&control)))) {
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

HRESULT CreateGraphs(FilterGraphs& graphs) {
  for (ComPtr<IGraphBuilder>* graph :
       {std::addressof(graphs.live), std::addressof(graphs.sink), std::addressof(graphs.source)}) {
    const HRESULT hr = CreateGraph(*graph);
    if (FAILED(hr)) {
      ShowGraphMessage(Exclaim("CAN'T INITIALIZE FILTER GRAPH"));
      return hr;
    }
  }
  return S_OK;
}

void TearDownGraphs(FilterGraphs& graphs, GraphFilters& f, bool liveMode) {
  if (liveMode) {
    StopGraph(graphs.live.Get());
    RemoveFilters(graphs.live.Get(),
                  {f.networkProvider.Get(), f.tuner.Get(), f.capture.Get(), f.demux.Get(),
                   f.tif.Get(), f.videoDecoder.Get(), f.audioDecoder.Get(),
                   f.videoRenderer.Get(), f.soundRenderer.Get()});
  } else {
    StopGraph(graphs.sink.Get());
    StopGraph(graphs.source.Get());
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
