#pragma once
// The tuner side that the graph test programs build on the stand-in devices,
// as the suite builds it: the ATSC network provider, the first tuner and
// capture devices, then the demultiplexer and the TIF, tuned with the
// product's ATSC tuning; and the small steps it is made of.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "graph/AtscTuning.h"
#include "graph/GraphOutcome.h"

struct Channel {
  long physical, major, minor;
};

// How the first free pins of two filters are joined: as they are, or by the
// graph's intelligent connect, which may put filters between them.
enum class Join { Direct, Intelligent };

HRESULT NewGraph(IGraphBuilder** graph);
HRESULT AddByClsid(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name, IBaseFilter** out);
// The first device of a category, added under `name`.
HRESULT AddFirstDevice(IGraphBuilder* graph, const GUID& category, const wchar_t* name,
                       IBaseFilter** out);
// The first free output pin of `from` joined to the first free input pin of
// `to` that accepts it.
HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to, Join join);
// A tuning call's result; when it failed, `step` becomes its failure text.
HRESULT Tuned(const GraphOutcome& outcome, std::string& step);

struct TunerChain {
  Microsoft::WRL::ComPtr<IBaseFilter> provider, tuner, capture, demux, tif;
};

// Network provider -> tuner -> capture, tuned to `channel`. On failure
// `step` names what failed (for a tuning call, its failure text).
HRESULT BuildTunerChain(IGraphBuilder* graph, Channel channel, Join join, AtscTuning& tuning,
                        TunerChain& chain, std::string& step);
// The tuner chain, then capture -> demultiplexer -> TIF.
HRESULT BuildLiveChain(IGraphBuilder* graph, Channel channel, Join join, AtscTuning& tuning,
                       TunerChain& chain, std::string& step);
