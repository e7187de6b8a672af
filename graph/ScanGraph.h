#pragma once
// The channel scan's graph: network provider -> tuner (-> capture) ->
// demultiplexer -> transport information filter, as every tuner graph
// starts, plus one demultiplexer output with the PID 0x1FFB mapped for PSI
// sections into our own section sink. It never renders video. It is tuned
// to one RF channel after another: each tune happens with the graph
// stopped, so every section received after the next run comes from the RF
// channel just tuned.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <optional>

#include "core/tuning/TuningModel.h"
#include "graph/AtscTuning.h"
#include "graph/PlanExecutor.h"
#include "graph/SectionSinkInputPin.h"

class ScanGraph : private PlanExecutor {
 public:
  ScanGraph() = default;
  ScanGraph(const ScanGraph&) = delete;
  ScanGraph& operator=(const ScanGraph&) = delete;
  ~ScanGraph();

  // Builds the graph for the tuner model (none: no device is accepted),
  // tuned to RF `physical`, without running it. `sections` is called on a
  // streaming thread for every whole section of the PID. A failed build
  // leaves what it made for TearDown.
  GraphOutcome Build(const TuningModel* model, int physical,
                     SectionSinkInputPin::SectionHandler sections);

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
  HRESULT AddSectionBranch(SectionSinkInputPin::SectionHandler sections);

  Microsoft::WRL::ComPtr<IGraphBuilder> graph;
  Microsoft::WRL::ComPtr<IBaseFilter> networkProvider;
  Microsoft::WRL::ComPtr<IBaseFilter> tuner;
  Microsoft::WRL::ComPtr<IBaseFilter> capture;
  Microsoft::WRL::ComPtr<IBaseFilter> demux;
  Microsoft::WRL::ComPtr<IBaseFilter> tif;
  Microsoft::WRL::ComPtr<IBaseFilter> sink;
  Microsoft::WRL::ComPtr<IMediaControl> control;
  AtscTuning tuning;
};
