#pragma once
// Runs a graph plan on one filter graph. The steps every graph kind shares
// are done here: adding a filter by class or a device by name, finding the
// tuning space, tuning, connecting, the media control and running. A builder
// derives from it, gives the graph and the table of its filters' places, and
// does the steps of its own graph kind and the build log.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <span>
#include <string_view>

#include "core/files/TunerFiles.h"
#include "core/tuning/ChannelTuning.h"
#include "core/tuning/TuningModel.h"
#include "graph/AtscTuning.h"
#include "graph/DecoderHold.h"
#include "graph/GraphPlan.h"

// Where a graph keeps one of a plan's filters.
struct PlanFilterSlot {
  PlanFilter filter;
  Microsoft::WRL::ComPtr<IBaseFilter>* place;
};

// The graph a plan runs on and what its shared steps work with.
struct PlanGraph {
  IGraphBuilder* graph = nullptr;
  std::span<const PlanFilterSlot> slots;  // a filter not listed has no place
  AtscTuning* tuning = nullptr;
  Microsoft::WRL::ComPtr<IMediaControl>* control = nullptr;
  const TuningModel* model = nullptr;  // the devices a step by name accepts
  DecoderNames decoders;               // the decoders a step by name accepts
  TuneValues channel;                  // what the tuning step tunes
};

class PlanExecutor : protected GraphPlanPlatform {
 protected:
  // Runs `plan` on `graph`, which must outlive the run.
  GraphOutcome RunPlan(const GraphPlan& plan, const PlanGraph& graph);

  // Where the graph of the running plan keeps a filter; null for none.
  Microsoft::WRL::ComPtr<IBaseFilter>* Slot(PlanFilter filter) const;
  IBaseFilter* Get(PlanFilter filter) const;

  // The video decoder held around the run, for the decoders that want it.
  DecoderHold decoderHold;

 private:
  // A step of the builder's own graph kind; E_UNEXPECTED when it has none.
  virtual GraphOutcome PerformOwn(const PlanStep& step);

  // GraphPlanPlatform (the builder writes the log)
  GraphOutcome Perform(const PlanStep& step) final;

  HRESULT AddByClass(const PlanStep& step);
  GraphOutcome AddByName(const PlanStep& step);
  GraphOutcome Connect(const PlanStep& step);
  HRESULT QueryMediaControl();
  HRESULT Run();

  PlanGraph target;
};
