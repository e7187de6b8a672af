#pragma once
// Builds and starts the live graph: network provider, tuner, capture,
// demultiplexer and transport information filter, then the decoders and
// the renderers, logging each step to telvdebug.txt when the user asks for
// it. Every failing step shows its own message and ends the build.

#include <windows.h>

#include "graph/GraphBuildLog.h"
#include "graph/GraphMessages.h"
#include "core/files/TunerFiles.h"
#include "graph/LiveGraph.h"

class LiveGraphBuilder {
 public:
  LiveGraphBuilder(LiveGraph& graph, const LiveGraphRequest& request);

  HRESULT Build();

 private:
  HRESULT AddSourceChain();
  HRESULT AddModelDecoders();
  HRESULT AddNamedDecoders();
  HRESULT AddVideoRenderer(bool connectDecoder, bool withDecodersFile);
  HRESULT AddDefaultRenderer(const wchar_t* name, bool connectDecoder);
  HRESULT AddSoundRenderer();
  HRESULT Start();

  // Shows the message and passes the failure on.
  HRESULT Fail(HRESULT hr, const GraphMessage& message);
  HRESULT Connect(IBaseFilter* upstream, IBaseFilter* downstream);
  HRESULT AddByClsid(REFCLSID clsid, const wchar_t* name,
                     Microsoft::WRL::ComPtr<IBaseFilter>& filter);
  HRESULT SetUpRenderer();

  LiveGraph& graph;
  LiveGraphRequest request;
  GraphBuildLog log;
  DecoderNames decoders;
};
