#pragma once
// Runs a recording graph plan on the platform: each step adds or connects a
// filter of the one recording graph, tunes, or sets up the dump filter's file
// or the stream buffer's recorder. The first step that fails ends the build.

#include <windows.h>

#include "graph/GraphPlan.h"
#include "graph/RecordingGraph.h"

class RecordingGraphBuilder : private GraphPlanPlatform {
 public:
  RecordingGraphBuilder(RecordingGraph& graph, const RecordingGraphRequest& request);

  GraphOutcome Build(const GraphPlan& plan);

 private:
  // GraphPlanPlatform
  void Log(std::string_view) override {}  // the recorders keep no build log
  GraphOutcome Perform(const PlanStep& step) override;

  // Where the graph keeps a plan's filter; null for none.
  Microsoft::WRL::ComPtr<IBaseFilter>* Slot(PlanFilter filter);
  IBaseFilter* Get(PlanFilter filter);
  HRESULT AddByClass(const PlanStep& step);
  GraphOutcome AddByName(const PlanStep& step);
  GraphOutcome Connect(const PlanStep& step);
  HRESULT SetFileName();
  HRESULT ConfigureBuffer();
  HRESULT CreateRecorder();
  HRESULT StartRecorder();

  RecordingGraph& graph;
  RecordingGraphRequest request;
};
