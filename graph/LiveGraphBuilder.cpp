#include "graph/LiveGraphBuilder.h"

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "core/files/FileNames.h"
#include "graph/GraphToolkit.h"
#include "win/InterfaceIds.h"
#include "graph/LiveGraphPlan.h"

using Microsoft::WRL::ComPtr;

namespace {

// The tuner vendors' own decoders, used when decoders.txt is missing; the
// second id of a pair is tried when the first cannot be created.
constexpr GUID kAtiVideoDecoder[] = {
    {0x3E2C8F5C, 0x0C72, 0x4FD0, {0x87, 0x5F, 0x5E, 0x15, 0x82, 0x9E, 0xE0, 0x51}},
    {0x5CAE8739, 0x5CAA, 0x4484, {0xA0, 0x6A, 0xA8, 0x4C, 0xF8, 0x8E, 0xC0, 0x39}}};
constexpr GUID kAtiAudioDecoder[] = {
    {0xB166AFCB, 0x6A64, 0x4988, {0x96, 0x44, 0x15, 0xB4, 0x40, 0x2C, 0x88, 0xFE}},
    {0xF82C5F48, 0xEB2F, 0x4CFD, {0xA0, 0xCC, 0xA0, 0x5A, 0x97, 0x63, 0xAF, 0xDC}}};
constexpr GUID kFusionVideoDecoder[] = {
    {0xD5B32736, 0x693D, 0x47E8, {0x81, 0xF3, 0xDD, 0xF1, 0xC5, 0x50, 0xC5, 0x80}}};
constexpr GUID kFusionAudioDecoder[] = {
    {0xFA245396, 0x72FC, 0x43F9, {0xBB, 0x91, 0xBB, 0x35, 0x44, 0x49, 0x0C, 0x2D}}};

// The class ids of a filter class, in the order they are tried.
std::span<const GUID> ClassIds(FilterClass filterClass) {
  switch (filterClass) {
    case FilterClass::AtscNetworkProvider: return {&CLSID_ATSCNetworkProvider, 1};
    case FilterClass::Mpeg2Demultiplexer: return {&CLSID_MPEG2Demultiplexer, 1};
    case FilterClass::TransportInformation: return {&kBdaTransportInformationFilterClsid, 1};
    case FilterClass::AtiVideoDecoder: return kAtiVideoDecoder;
    case FilterClass::AtiAudioDecoder: return kAtiAudioDecoder;
    case FilterClass::FusionVideoDecoder: return kFusionVideoDecoder;
    case FilterClass::FusionAudioDecoder: return kFusionAudioDecoder;
    case FilterClass::VideoMixingRenderer: return {&CLSID_VideoMixingRenderer, 1};
    case FilterClass::DefaultVideoRenderer: return {&CLSID_VideoRendererDefault, 1};
    case FilterClass::DirectSoundRenderer: return {&CLSID_DSoundRender, 1};
  }
  return {};
}

// The device category searched for a filter of each role.
const GUID& RoleCategory(FilterRole role) {
  switch (role) {
    case FilterRole::Tuner: return kBdaNetworkTunerCategory;
    case FilterRole::Capture: return kBdaReceiverComponentCategory;
    case FilterRole::VideoDecoder:
    case FilterRole::AudioDecoder: break;
  }
  return CLSID_LegacyAmFilterCategory;
}

// The graph names are plain ASCII.
std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

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
