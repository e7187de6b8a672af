#pragma once
// What a program keeps of its live graph from the build to the teardown: the
// graph managers, the filters in them, the tuning objects, the windowless
// renderer and the live graph's controls.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "core/tuning/ChannelTuning.h"
#include "core/tuning/TuningModel.h"
#include "graph/AtscTuning.h"
#include "graph/FilterGraphs.h"
#include "graph/SectionSinkInputPin.h"
#include "graph/TableBranch.h"
#include "graph/WindowlessRenderer.h"

struct LiveGraph {
  FilterGraphs graphs;
  GraphFilters filters;
  AtscTuning tuning;
  WindowlessRenderer renderer;
  Microsoft::WRL::ComPtr<IMediaControl> control;
  Microsoft::WRL::ComPtr<IBasicAudio> basicAudio;
  TableBranch tables;  // absent when it could not be added
};

// What the live graph build needs to know of the program.
struct LiveGraphRequest {
  const TuningModel* model = nullptr;  // no model: no device is accepted
  TuneValues channel;                  // tuned right after the tuner is added
  HWND videoWindow = nullptr;          // the renderer's clipping window
  bool fullScreenOnPrimary = true;     // which display the renderer uses
  // The table packets for the guide, on the streaming thread; none: no
  // tables' branch.
  SectionSinkInputPin::SectionHandler tablePackets;
};
