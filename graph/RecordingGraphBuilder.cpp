#include "graph/RecordingGraphBuilder.h"

#include <memory>
#include <string>

#include "graph/StreamBufferKey.h"
#include "graph/StreamBufferNamespace.h"
#include "win/AnsiText.h"
#include "win/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

RecordingGraphBuilder::RecordingGraphBuilder(RecordingGraph& graph,
                                             const RecordingGraphRequest& request)
    : graph(graph), request(request) {}

GraphOutcome RecordingGraphBuilder::Build(const GraphPlan& plan) {
  const HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(graph.graph.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return GraphOutcome::Failure(hr, Exclaim("CAN'T INITIALIZE FILTER GRAPH"));
  // std::addressof, not &: the & of a ComPtr empties it.
  const PlanFilterSlot slots[] = {
      {PlanFilter::NetworkProvider, std::addressof(graph.networkProvider)},
      {PlanFilter::Tuner, std::addressof(graph.tuner)},
      {PlanFilter::Capture, std::addressof(graph.capture)},
      {PlanFilter::Tee, std::addressof(graph.tee)},
      {PlanFilter::Dump, std::addressof(graph.dump)},
      {PlanFilter::Demultiplexer, std::addressof(graph.demux)},
      {PlanFilter::Tif, std::addressof(graph.tif)},
      {PlanFilter::BufferSink, std::addressof(graph.bufferSink)},
      {PlanFilter::Analyser, std::addressof(graph.analyser)},
  };
  PlanGraph recording;
  recording.graph = graph.graph.Get();
  recording.slots = slots;
  recording.tuning = &graph.tuning;
  recording.control = std::addressof(graph.control);
  recording.model = request.model;
  recording.channel = request.channel;
  return RunPlan(plan, recording);
}

GraphOutcome RecordingGraphBuilder::PerformOwn(const PlanStep& step) {
  switch (step.action) {
    case StepAction::QueryFileSink:
      return GraphOutcome::Result(graph.dump ? graph.dump.As(&graph.fileSink) : E_UNEXPECTED);
    case StepAction::SetFileName:
      return GraphOutcome::Result(SetFileName());
    case StepAction::QueryBufferSink:
      return GraphOutcome::Result(graph.bufferSink ? graph.bufferSink.As(&graph.sink)
                                                   : E_UNEXPECTED);
    case StepAction::ConfigureBuffer:
      return GraphOutcome::Result(ConfigureBuffer());
    case StepAction::CreateRecorder:
      return GraphOutcome::Result(CreateRecorder());
    case StepAction::StartRecorder:
      return GraphOutcome::Result(StartRecorder());
    default:
      break;  // the shared steps, and the live graph's
  }
  return GraphOutcome::Result(E_UNEXPECTED);
}

HRESULT RecordingGraphBuilder::SetFileName() {
  if (!graph.fileSink) return E_UNEXPECTED;
  const std::wstring name = Widen(request.fileName);
  return graph.fileSink->SetFileName(name.c_str(), nullptr);
}

// The stream buffer keeps its settings under the model's Record key and its
// files in the record folder.
HRESULT RecordingGraphBuilder::ConfigureBuffer() {
  if (!graph.bufferSink) return E_UNEXPECTED;
  HRESULT hr = CoCreateInstance(CLSID_StreamBufferConfig, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(graph.configuration.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return hr;
  hr = OpenStreamBufferKey(request.recordKey, graph.recordKey);
  if (FAILED(hr)) return hr;
  hr = HandStreamBufferKey(graph.configuration.Get(), graph.recordKey.Get());
  if (FAILED(hr)) return hr;
  hr = UseSessionNamespace(graph.configuration.Get());
  if (FAILED(hr)) return hr;
  const std::wstring folder = Widen(request.folder);
  hr = graph.configuration->SetDirectory(folder.c_str());
  if (FAILED(hr)) return hr;
  return HandStreamBufferKey(graph.bufferSink.Get(), graph.recordKey.Get());
}

HRESULT RecordingGraphBuilder::CreateRecorder() {
  if (!graph.sink) return E_UNEXPECTED;
  const std::wstring name = Widen(request.fileName);
  HRESULT hr = graph.sink->CreateRecorder(name.c_str(), kRecordingTypeContent,
                                          graph.recorder.ReleaseAndGetAddressOf());
  if (FAILED(hr)) return hr;
  return graph.recorder.As(&graph.recordControl);
}

HRESULT RecordingGraphBuilder::StartRecorder() {
  if (!graph.recordControl) return E_UNEXPECTED;
  REFERENCE_TIME start = 0;
  return graph.recordControl->Start(&start);
}

GraphOutcome BuildRecordingGraph(RecordingGraph& graph, const RecordingGraphRequest& request,
                                 const GraphPlan& plan) {
  RecordingGraphBuilder builder(graph, request);
  return builder.Build(plan);
}

HRESULT NotifyGraphEvents(RecordingGraph& graph, HWND window, UINT message) {
  if (!graph.graph) return E_UNEXPECTED;
  // By its IID: mingw-w64 gives IMediaEventEx no __uuidof.
  HRESULT hr = graph.graph->QueryInterface(
      IID_IMediaEventEx, reinterpret_cast<void**>(graph.events.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return hr;
  return graph.events->SetNotifyWindow(reinterpret_cast<OAHWND>(window), message, 0);
}

RecordingEnd TakeGraphEvents(RecordingGraph& graph) {
  if (!graph.events) return RecordingEnd::None;
  RecordingEnd end = RecordingEnd::None;
  long code = 0;
  LONG_PTR first = 0;
  LONG_PTR second = 0;
  while (graph.events->GetEvent(&code, &first, &second, 0) == S_OK) {
    if (end == RecordingEnd::None) end = RecordingEndOf(code, graph.dump != nullptr);
    graph.events->FreeEventParams(code, first, second);  // nothing to do when it fails
  }
  return end;
}

void TearDownRecordingGraph(RecordingGraph& graph) {
  if (graph.events) {
    graph.events->SetNotifyWindow(0, 0, 0);  // no more events to a window going away
  }
  if (graph.recordControl) graph.recordControl->Stop(0);  // a recorder that never started: no harm
  if (graph.control) graph.control->Stop();  // stopping a graph that never ran may fail
  if (graph.graph) {
    for (IBaseFilter* filter :
         {graph.networkProvider.Get(), graph.tuner.Get(), graph.capture.Get(), graph.demux.Get(),
          graph.tif.Get(), graph.dump.Get(), graph.tee.Get(), graph.bufferSink.Get(),
          graph.analyser.Get()}) {
      if (filter != nullptr) graph.graph->RemoveFilter(filter);  // only what was added
    }
  }
  // The recording object goes before the sink, as the engine wants.
  graph.recordControl.Reset();
  graph.recorder.Reset();
  graph = RecordingGraph{};
}
