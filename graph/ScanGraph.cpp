#include "graph/ScanGraph.h"

#include <memory>

#include "graph/LiveGraphPlan.h"
#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

ScanGraph::~ScanGraph() { TearDown(); }

GraphOutcome ScanGraph::Build(const TuningModel* model, int physical,
                              SectionSinkInputPin::SectionHandler packets) {
  const HRESULT created = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_PPV_ARGS(graph.ReleaseAndGetAddressOf()));
  if (FAILED(created)) return GraphOutcome::Failure(created, Exclaim("CAN'T INITIALIZE FILTER GRAPH"));
  // std::addressof, not &: the & of a ComPtr empties it.
  const PlanFilterSlot slots[] = {
      {PlanFilter::NetworkProvider, std::addressof(networkProvider)},
      {PlanFilter::Tuner, std::addressof(tuner)},
      {PlanFilter::Capture, std::addressof(capture)},
      {PlanFilter::Demultiplexer, std::addressof(demux)},
      {PlanFilter::Tif, std::addressof(tif)},
  };
  PlanGraph scan;
  scan.graph = graph.Get();
  scan.slots = slots;
  scan.tuning = &tuning;
  scan.control = std::addressof(control);
  scan.model = model;
  scan.channel = TuneValues{physical, -1, -1};
  GraphOutcome outcome = RunPlan(SourceChainPlan(model), scan);
  if (outcome.Failed()) return outcome;
  const HRESULT branch = tables.Add(graph.Get(), demux.Get(), std::move(packets));
  if (FAILED(branch)) return GraphOutcome::Failure(branch, Exclaim("CAN'T READ CHANNEL TABLES"));
  const HRESULT queried = graph.As(&control);
  if (FAILED(queried)) return GraphOutcome::Failure(queried, Exclaim("CAN'T LOAD MEDIA CONTROL"));
  return outcome;
}

GraphOutcome ScanGraph::TuneAndRun(int physical) {
  GraphOutcome outcome = tuning.TuneChannel(physical, -1, -1);
  if (outcome.Failed()) return outcome;
  if (!control) return GraphOutcome::Result(E_UNEXPECTED);
  const HRESULT ran = control->Run();
  if (FAILED(ran)) return GraphOutcome::Failure(ran, Exclaim("CAN'T RUN FILTER GRAPH"));
  return outcome;
}

std::optional<long> ScanGraph::SignalStrength() {
  if (FAILED(tuning.ReadSignalStrength())) return std::nullopt;
  return tuning.SignalStrength();
}

void ScanGraph::TearDown() {
  if (control) control->Stop();  // a failure leaves nothing more to do
  if (graph) {
    tables.Remove(graph.Get());
    for (IBaseFilter* filter : {tif.Get(), demux.Get(), capture.Get(), tuner.Get(),
                                networkProvider.Get()}) {
      if (filter != nullptr) graph->RemoveFilter(filter);  // the graph goes next in any case
    }
  }
  tables.Remove(nullptr);
  tif.Reset();
  demux.Reset();
  capture.Reset();
  tuner.Reset();
  networkProvider.Reset();
  tuning.Reset();
  control.Reset();
  graph.Reset();
}
