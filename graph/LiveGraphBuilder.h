#pragma once
// Builds and starts the live graph by running the live graph plan on the
// platform: each step adds or connects filters in the live graph, tunes, or
// sets up the video renderer, and is logged to telvdebug.txt when the user
// asks for it. The first step that fails ends the build; the outcome holds
// every message to tell the user, in order.

#include <windows.h>

#include "graph/GraphBuildLog.h"
#include "graph/LiveGraph.h"
#include "graph/PlanExecutor.h"

class LiveGraphBuilder : private PlanExecutor {
 public:
  LiveGraphBuilder(LiveGraph& graph, const LiveGraphRequest& request);

  GraphOutcome Build();

 private:
  // GraphPlanPlatform
  void Log(std::string_view text) override;
  // PlanExecutor: the live graph's own steps
  GraphOutcome PerformOwn(const PlanStep& step) override;

  HRESULT Remove(PlanFilter filter);
  void AddTableBranch();

  LiveGraph& graph;
  LiveGraphRequest request;
  GraphBuildLog log;
};
