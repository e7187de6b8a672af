#include "graph/ScanGraph.h"

#include <bdaiface.h>
#include <uuids.h>

#include <memory>

#include "graph/LiveGraphPlan.h"
#include "graph/SectionSinkFilter.h"
#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

// The PID of the ATSC channel tables (master guide, virtual channel and
// system time tables).
constexpr ULONG kChannelTablePid = 0x1FFB;
constexpr wchar_t kSinkName[] = L"Scan Sections";

}  // namespace

ScanGraph::~ScanGraph() { TearDown(); }

GraphOutcome ScanGraph::Build(const TuningModel* model, int physical,
                              SectionSinkInputPin::SectionHandler sections) {
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
  const HRESULT branch = AddSectionBranch(std::move(sections));
  if (FAILED(branch)) return GraphOutcome::Failure(branch, Exclaim("CAN'T READ CHANNEL TABLES"));
  const HRESULT queried = graph.As(&control);
  if (FAILED(queried)) return GraphOutcome::Failure(queried, Exclaim("CAN'T LOAD MEDIA CONTROL"));
  return outcome;
}

// A new demultiplexer output for sections, the PID mapped to it, and the
// sink connected straight to it.
HRESULT ScanGraph::AddSectionBranch(SectionSinkInputPin::SectionHandler sections) {
  RETURN_HR_IF(E_UNEXPECTED, !demux);
  ComPtr<IMpeg2Demultiplexer> demultiplexer;
  RETURN_IF_FAILED(demux.As(&demultiplexer));
  AM_MEDIA_TYPE type{};
  type.majortype = MEDIATYPE_MPEG2_SECTIONS;
  type.subtype = MEDIASUBTYPE_MPEG2DATA;
  type.formattype = FORMAT_None;
  ComPtr<IPin> tables;
  wchar_t pinName[] = L"Scan Tables";  // the platform takes a non-const name
  RETURN_IF_FAILED(demultiplexer->CreateOutputPin(&type, pinName, &tables));
  ComPtr<IMPEG2PIDMap> map;
  RETURN_IF_FAILED(tables.As(&map));
  ULONG pid = kChannelTablePid;
  RETURN_IF_FAILED(map->MapPID(1, &pid, MEDIA_MPEG2_PSI));
  RETURN_IF_FAILED(SectionSinkFilter::Create(std::move(sections), sink.ReleaseAndGetAddressOf()));
  RETURN_IF_FAILED(graph->AddFilter(sink.Get(), kSinkName));
  ComPtr<IEnumPins> pins;
  RETURN_IF_FAILED(sink->EnumPins(&pins));
  ComPtr<IPin> input;
  RETURN_HR_IF(E_UNEXPECTED, pins->Next(1, &input, nullptr) != S_OK);
  return graph->ConnectDirect(tables.Get(), input.Get(), &type);
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
    for (IBaseFilter* filter : {sink.Get(), tif.Get(), demux.Get(), capture.Get(), tuner.Get(),
                                networkProvider.Get()}) {
      if (filter != nullptr) graph->RemoveFilter(filter);  // the graph goes next in any case
    }
  }
  sink.Reset();
  tif.Reset();
  demux.Reset();
  capture.Reset();
  tuner.Reset();
  networkProvider.Reset();
  tuning.Reset();
  control.Reset();
  graph.Reset();
}
