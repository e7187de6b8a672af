#include "graph/DecoderHold.h"

#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

// How far ahead of now the stream starts, as the graph manager's own run
// does, so that the filters are running before the first sample is due.
constexpr REFERENCE_TIME kStartLead = 1'000'000;  // 100 ms

}  // namespace

HRESULT DecoderHold::Hold(IBaseFilter* decoder) {
  if (decoder == nullptr) return E_POINTER;
  const HRESULT hr = decoder->Pause();
  held = SUCCEEDED(hr);
  return hr;
}

HRESULT DecoderHold::RunGraph(IMediaControl* control) {
  if (control == nullptr) return E_POINTER;
  start = 0;
  if (!held) return control->Run();
  // The graph manager chooses its clock when it first pauses; without a
  // clock there is no stream time to agree on.
  ComPtr<IMediaFilter> graph;
  ComPtr<IReferenceClock> clock;
  REFERENCE_TIME now = 0;
  if (FAILED(control->QueryInterface(IID_PPV_ARGS(&graph))) || FAILED(control->Pause()) ||
      FAILED(graph->GetSyncSource(&clock)) || !clock || FAILED(clock->GetTime(&now))) {
    return control->Run();
  }
  start = now + kStartLead;
  return graph->Run(start);
}

HRESULT DecoderHold::Release(IBaseFilter* decoder) {
  if (decoder == nullptr) return E_POINTER;
  held = false;
  return decoder->Run(start);
}
