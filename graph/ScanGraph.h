#pragma once
// The channel scan's graph: network provider -> tuner (-> capture) ->
// demultiplexer -> transport information filter, as every tuner graph
// starts, plus the tables' branch (the PID 0x1FFB's packets and, as the
// caller asks, those of the guide's tables, into our own sink). It never renders video. It is tuned
// to one RF channel after another: each tune happens with the graph
// stopped, so every section received after the next run comes from the RF
// channel just tuned.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "core/tuning/TuningModel.h"
#include "graph/AtscTuning.h"
#include "graph/PlanExecutor.h"
#include "graph/SectionSinkInputPin.h"
#include "graph/TableBranch.h"

class ScanGraph : private PlanExecutor {
 public:
  ScanGraph() = default;
  ScanGraph(const ScanGraph&) = delete;
  ScanGraph& operator=(const ScanGraph&) = delete;
  ~ScanGraph();

  // Builds the graph for the tuner model (none: no device is accepted),
  // tuned to RF `physical`, without running it. `packets` is called on a
  // streaming thread with the transport packets of the mapped PIDs. A
  // failed build leaves what it made for TearDown.
  GraphOutcome Build(const TuningModel* model, int physical,
                     SectionSinkInputPin::SectionHandler packets);

  // Maps exactly these PIDs (sorted) to the tables' branch; a failure is
  // tried again at the next call.
  HRESULT MapTablePids(const std::vector<std::uint16_t>& pids) { return tables.MapExactly(pids); }

  // Stops the graph, tunes RF `physical` alone (no virtual channel), calls
  // `betweenRuns` (no section arrives then) and runs the graph again.
  template <typename Between>
  GraphOutcome Tune(int physical, Between&& betweenRuns) {
    if (control) control->Stop();  // a graph that cannot stop is tuned all the same
    betweenRuns();
    return TuneAndRun(physical);
  }

  // The tuner's raw signal strength; nothing when it cannot be read.
  std::optional<long> SignalStrength();

  // Stops the graph, takes every filter out and lets go of everything.
  void TearDown();

 private:
  // GraphPlanPlatform: the scan keeps no build log.
  void Log(std::string_view) override {}

  GraphOutcome TuneAndRun(int physical);

  Microsoft::WRL::ComPtr<IGraphBuilder> graph;
  Microsoft::WRL::ComPtr<IBaseFilter> networkProvider;
  Microsoft::WRL::ComPtr<IBaseFilter> tuner;
  Microsoft::WRL::ComPtr<IBaseFilter> capture;
  Microsoft::WRL::ComPtr<IBaseFilter> demux;
  Microsoft::WRL::ComPtr<IBaseFilter> tif;
  Microsoft::WRL::ComPtr<IMediaControl> control;
  AtscTuning tuning;
  TableBranch tables;
};
