#include "graph/LiveGraphBuilder.h"

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "core/files/FileNames.h"
#include "graph/FilterClassIds.h"
#include "graph/GraphToolkit.h"
#include "win/InterfaceIds.h"
#include "graph/LiveGraphPlan.h"

using Microsoft::WRL::ComPtr;

LiveGraphBuilder::LiveGraphBuilder(LiveGraph& graph, const LiveGraphRequest& request)
    : graph(graph), request(request) {}

GraphOutcome LiveGraphBuilder::Build() {
  log.OpenIfPresent(FileNames::kGraphDebugLog);
  const std::optional<DecoderNames> named = ReadDecodersFile(FileNames::kDecoders);
  decoders = named.value_or(DecoderNames{});
  const GraphOutcome outcome = RunGraphPlan(LiveGraphPlan(request.model, named), *this);
  // A failed build leaves its log ending at the last step announced.
  log.Close();
  return outcome;
}

void LiveGraphBuilder::Log(std::string_view text) { log.Write(text); }

GraphOutcome LiveGraphBuilder::Perform(const PlanStep& step) {
  IGraphBuilder* live = graph.graphs.live.Get();
  switch (step.action) {
    case StepAction::AddByClass:
      return GraphOutcome::Result(AddByClass(step));
    case StepAction::AddByName:
      return AddByName(step);
    case StepAction::FindTuningSpace:
      return graph.tuning.FindAtscTuningSpace(graph.filters.networkProvider.Get());
    case StepAction::Tune:
      return graph.tuning.TuneChannel(request.channel.physical, request.channel.major,
                                      request.channel.minor);
    case StepAction::Connect:
      return ConnectFilters(live, Get(step.filter), Get(step.downstream));
    case StepAction::Remove:
      return GraphOutcome::Result(Remove(step.filter));
    case StepAction::SetUpRenderer:
      return graph.renderer.SetUp(Get(step.filter), request.videoWindow,
                                  request.fullScreenOnPrimary, graph.control.Get());
    case StepAction::QueryMediaControl:
      return GraphOutcome::Result(graph.graphs.live.As(&graph.control));
    case StepAction::QueryBasicAudio:
      return GraphOutcome::Result(graph.graphs.live.As(&graph.basicAudio));
    case StepAction::Run:
      return GraphOutcome::Result(graph.control ? graph.control->Run() : E_UNEXPECTED);
    case StepAction::LogOnly:
    case StepAction::Group:
      break;  // the plan runner handles these itself
    case StepAction::QueryFileSink:
    case StepAction::SetFileName:
    case StepAction::QueryBufferSink:
    case StepAction::ConfigureBuffer:
    case StepAction::CreateRecorder:
    case StepAction::StartRecorder:
      break;  // the recording graphs' steps

  }
  return GraphOutcome::Result(E_UNEXPECTED);
}

// std::addressof, not &: the & of a ComPtr empties it when converted to a
// ComPtr pointer.
ComPtr<IBaseFilter>* LiveGraphBuilder::Slot(PlanFilter filter) {
  GraphFilters& f = graph.filters;
  switch (filter) {
    case PlanFilter::NetworkProvider: return std::addressof(f.networkProvider);
    case PlanFilter::Tuner: return std::addressof(f.tuner);
    case PlanFilter::Capture: return std::addressof(f.capture);
    case PlanFilter::Demultiplexer: return std::addressof(f.demux);
    case PlanFilter::Tif: return std::addressof(f.tif);
    case PlanFilter::VideoDecoder: return std::addressof(f.videoDecoder);
    case PlanFilter::AudioDecoder: return std::addressof(f.audioDecoder);
    case PlanFilter::VideoRenderer: return std::addressof(f.videoRenderer);
    case PlanFilter::SoundRenderer: return std::addressof(f.soundRenderer);
    case PlanFilter::Tee:
    case PlanFilter::Dump:
    case PlanFilter::BufferSink:
    case PlanFilter::Analyser:
      break;  // the recording graphs' filters
    case PlanFilter::None: break;
  }
  return nullptr;
}

IBaseFilter* LiveGraphBuilder::Get(PlanFilter filter) {
  ComPtr<IBaseFilter>* slot = Slot(filter);
  return slot != nullptr ? slot->Get() : nullptr;
}

HRESULT LiveGraphBuilder::AddByClass(const PlanStep& step) {
  ComPtr<IBaseFilter>* filter = Slot(step.filter);
  if (filter == nullptr) return E_UNEXPECTED;
  const std::wstring name = Widen(step.graphName);
  HRESULT hr = E_FAIL;
  for (const GUID& clsid : ClassIds(step.filterClass)) {
    hr = AddFilterByClsid(graph.graphs.live.Get(), clsid, name.c_str(),
                          filter->ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr)) break;
  }
  return hr;
}

GraphOutcome LiveGraphBuilder::AddByName(const PlanStep& step) {
  ComPtr<IBaseFilter>* filter = Slot(step.filter);
  if (filter == nullptr) return GraphOutcome::Result(E_UNEXPECTED);
  return AddFilterByName(graph.graphs.live.Get(), RoleCategory(step.role), step.role,
                         request.model, decoders, filter->ReleaseAndGetAddressOf());
}

// Takes a filter just added back out of the graph. Removing it cannot fail
// in a way that matters: its replacement is added under its own reference.
HRESULT LiveGraphBuilder::Remove(PlanFilter filter) {
  ComPtr<IBaseFilter>* added = Slot(filter);
  if (added == nullptr) return E_UNEXPECTED;
  if (*added) graph.graphs.live->RemoveFilter(added->Get());  // see above
  added->Reset();
  if (filter == PlanFilter::VideoRenderer) graph.renderer.Reset();
  return S_OK;
}
