#include "graph/PlanExecutor.h"

#include <string>

#include "graph/FilterClassIds.h"
#include "graph/GraphToolkit.h"
#include "win/AnsiText.h"

using Microsoft::WRL::ComPtr;

GraphOutcome PlanExecutor::RunPlan(const GraphPlan& plan, const PlanGraph& graph) {
  target = graph;
  const GraphOutcome outcome = RunGraphPlan(plan, *this);
  target = PlanGraph{};  // the places belong to the builder's graph, not to the executor
  return outcome;
}

ComPtr<IBaseFilter>* PlanExecutor::Slot(PlanFilter filter) const {
  for (const PlanFilterSlot& slot : target.slots) {
    if (slot.filter == filter) return slot.place;
  }
  return nullptr;
}

IBaseFilter* PlanExecutor::Get(PlanFilter filter) const {
  ComPtr<IBaseFilter>* slot = Slot(filter);
  return slot != nullptr ? slot->Get() : nullptr;
}

GraphOutcome PlanExecutor::PerformOwn(const PlanStep&) {
  return GraphOutcome::Result(E_UNEXPECTED);
}

GraphOutcome PlanExecutor::Perform(const PlanStep& step) {
  switch (step.action) {
    case StepAction::AddByClass:
      return GraphOutcome::Result(AddByClass(step));
    case StepAction::AddByName:
      return AddByName(step);
    case StepAction::FindTuningSpace:
      if (target.tuning == nullptr) break;
      return target.tuning->FindAtscTuningSpace(Get(PlanFilter::NetworkProvider));
    case StepAction::Tune:
      if (target.tuning == nullptr) break;
      return target.tuning->TuneChannel(target.channel.physical, target.channel.major,
                                        target.channel.minor);
    case StepAction::Connect:
      return Connect(step);
    case StepAction::QueryMediaControl:
      return GraphOutcome::Result(QueryMediaControl());
    case StepAction::Run:
      return GraphOutcome::Result(Run());
    case StepAction::Remove:
    case StepAction::SetUpRenderer:
    case StepAction::QueryBasicAudio:
    case StepAction::QueryFileSink:
    case StepAction::SetFileName:
    case StepAction::QueryBufferSink:
    case StepAction::ConfigureBuffer:
    case StepAction::CreateRecorder:
    case StepAction::StartRecorder:
    case StepAction::CheckFile:
    case StepAction::QueryBufferSource:
    case StepAction::LoadFile:
    case StepAction::CreateDemuxPins:
    case StepAction::QuerySeeking:
    case StepAction::SetSyncSource:
    case StepAction::PauseVideoDecoder:
    case StepAction::RunVideoDecoder:
      return PerformOwn(step);
    case StepAction::LogOnly:
    case StepAction::Group:
      break;  // the plan runner handles these itself
  }
  return GraphOutcome::Result(E_UNEXPECTED);
}

HRESULT PlanExecutor::AddByClass(const PlanStep& step) {
  ComPtr<IBaseFilter>* filter = Slot(step.filter);
  if (filter == nullptr) return E_UNEXPECTED;
  const std::wstring name = Widen(step.graphName);
  HRESULT hr = E_FAIL;
  for (const GUID& clsid : ClassIds(step.filterClass)) {
    hr = AddFilterByClsid(target.graph, clsid, name.c_str(), filter->ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr)) break;
  }
  return hr;
}

GraphOutcome PlanExecutor::AddByName(const PlanStep& step) {
  ComPtr<IBaseFilter>* filter = Slot(step.filter);
  if (filter == nullptr) return GraphOutcome::Result(E_UNEXPECTED);
  return AddFilterByName(target.graph, RoleCategory(step.role), step.role, target.model,
                         target.decoders, filter->ReleaseAndGetAddressOf());
}

GraphOutcome PlanExecutor::Connect(const PlanStep& step) {
  const GUID* major = nullptr;
  if (step.pins == PinKind::Video) major = &MEDIATYPE_Video;
  if (step.pins == PinKind::Audio) major = &MEDIATYPE_Audio;
  return ConnectFilters(target.graph, Get(step.filter), Get(step.downstream), major);
}

HRESULT PlanExecutor::QueryMediaControl() {
  if (target.graph == nullptr || target.control == nullptr) return E_UNEXPECTED;
  return target.graph->QueryInterface(IID_PPV_ARGS(target.control->ReleaseAndGetAddressOf()));
}

HRESULT PlanExecutor::Run() {
  if (target.control == nullptr || !*target.control) return E_UNEXPECTED;
  return decoderHold.RunGraph(target.control->Get());
}
