#pragma once
// Runs a recording graph plan on the platform: each step adds or connects a
// filter of the one recording graph, tunes, or sets up the dump filter's file
// or the stream buffer's recorder. The first step that fails ends the build.

#include <windows.h>

#include "graph/PlanExecutor.h"
#include "graph/RecordingGraph.h"

class RecordingGraphBuilder : private PlanExecutor {
 public:
  RecordingGraphBuilder(RecordingGraph& graph, const RecordingGraphRequest& request);

  GraphOutcome Build(const GraphPlan& plan);

 private:
  // GraphPlanPlatform
  void Log(std::string_view) override {}  // the recorders keep no build log
  // PlanExecutor: the recording graphs' own steps
  GraphOutcome PerformOwn(const PlanStep& step) override;

  HRESULT SetFileName();
  HRESULT ConfigureBuffer();
  HRESULT CreateRecorder();
  HRESULT StartRecorder();

  RecordingGraph& graph;
  RecordingGraphRequest request;
};
