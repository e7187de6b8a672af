#pragma once
// Builds and starts the live graph by running the live graph plan on the
// platform: each step adds or connects filters in the live graph, tunes, or
// sets up the video renderer, and is logged to telvdebug.txt when the user
// asks for it. The first step that fails ends the build; the outcome holds
// every message to tell the user, in order.

#include <windows.h>

#include "core/files/TunerFiles.h"
#include "graph/GraphBuildLog.h"
#include "graph/GraphPlan.h"
#include "graph/LiveGraph.h"

class LiveGraphBuilder : private GraphPlanPlatform {
 public:
  LiveGraphBuilder(LiveGraph& graph, const LiveGraphRequest& request);

  GraphOutcome Build();

 private:
  // GraphPlanPlatform
  void Log(std::string_view text) override;
  GraphOutcome Perform(const PlanStep& step) override;

  // Where the graph keeps a plan's filter; null for none.
  Microsoft::WRL::ComPtr<IBaseFilter>* Slot(PlanFilter filter);
  IBaseFilter* Get(PlanFilter filter);
  HRESULT AddByClass(const PlanStep& step);
  GraphOutcome AddByName(const PlanStep& step);
  HRESULT Remove(PlanFilter filter);

  LiveGraph& graph;
  LiveGraphRequest request;
  GraphBuildLog log;
  DecoderNames decoders;
};
