#include "graph/LiveGraphBuilder.h"

#include <memory>
#include <optional>

#include "core/files/FileNames.h"
#include "graph/LiveGraphPlan.h"
#include "win/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

LiveGraphBuilder::LiveGraphBuilder(LiveGraph& graph, const LiveGraphRequest& request)
    : graph(graph), request(request) {}

GraphOutcome LiveGraphBuilder::Build() {
  log.OpenIfPresent(FileNames::kGraphDebugLog);
  const std::optional<DecoderNames> named = ReadDecodersFile(FileNames::kDecoders);
  // std::addressof, not &: the & of a ComPtr empties it when converted to a
  // ComPtr pointer.
  GraphFilters& f = graph.filters;
  const PlanFilterSlot slots[] = {
      {PlanFilter::NetworkProvider, std::addressof(f.networkProvider)},
      {PlanFilter::Tuner, std::addressof(f.tuner)},
      {PlanFilter::Capture, std::addressof(f.capture)},
      {PlanFilter::Demultiplexer, std::addressof(f.demux)},
      {PlanFilter::Tif, std::addressof(f.tif)},
      {PlanFilter::VideoDecoder, std::addressof(f.videoDecoder)},
      {PlanFilter::AudioDecoder, std::addressof(f.audioDecoder)},
      {PlanFilter::VideoRenderer, std::addressof(f.videoRenderer)},
      {PlanFilter::SoundRenderer, std::addressof(f.soundRenderer)},
  };
  PlanGraph live;
  live.graph = graph.graphs.live.Get();
  live.slots = slots;
  live.tuning = &graph.tuning;
  live.control = std::addressof(graph.control);
  live.model = request.model;
  live.decoders = named.value_or(DecoderNames{});
  live.channel = request.channel;
  const GraphOutcome outcome = RunPlan(LiveGraphPlan(request.model, named), live);
  // A failed build leaves its log ending at the last step announced.
  log.Close();
  return outcome;
}

void LiveGraphBuilder::Log(std::string_view text) { log.Write(text); }

GraphOutcome LiveGraphBuilder::PerformOwn(const PlanStep& step) {
  switch (step.action) {
    case StepAction::Remove:
      return GraphOutcome::Result(Remove(step.filter));
    case StepAction::SetUpRenderer:
      return graph.renderer.SetUp(Get(step.filter), request.videoWindow,
                                  request.fullScreenOnPrimary, graph.control.Get());
    case StepAction::QueryBasicAudio:
      // The last step before the run, with every other pin connected: the
      // tables' branch joins here, so no connection by free pins can take
      // its output.
      AddTableBranch();
      return GraphOutcome::Result(graph.graphs.live.As(&graph.basicAudio));
    default:
      break;  // the shared steps, and the recording graphs'
  }
  return GraphOutcome::Result(E_UNEXPECTED);
}

// The guide is no reason to go without television: a branch that cannot
// be added is told to the build log only, and the graph runs without it.
void LiveGraphBuilder::AddTableBranch() {
  if (!request.tablePackets) return;
  const HRESULT added = graph.tables.Add(graph.graphs.live.Get(), graph.filters.demux.Get(),
                                         request.tablePackets);
  if (FAILED(added)) log.Write(GraphBuildLog::Entry("CAN'T READ PROGRAM GUIDE...GOING ON WITHOUT IT"));
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
