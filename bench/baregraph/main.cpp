// baregraph.exe TUNER CAPTURE PHYSICAL MAJOR MINOR: the reference of the
// silent recorder's benchmark. It builds the bare receiving graph, network
// provider -> tuner -> capture -> null renderer, tunes the channel, runs it
// and waits until it is ended; the benchmark reads its CPU time meanwhile.
#include <windows.h>
#include <dshow.h>
#include <uuids.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "core/files/TunerFiles.h"
#include "core/tuning/TuningModel.h"
#include "graph/AtscTuning.h"
#include "graph/BdaIds.h"
#include "graph/GraphToolkit.h"
#include "win/ComScope.h"

using Microsoft::WRL::ComPtr;

namespace {

// qedit's null renderer, which mingw-w64's headers do not name.
constexpr CLSID kNullRenderer = {
    0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

int Fail(const char* step) {
  std::fprintf(stderr, "baregraph: %s failed\n", step);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: baregraph TUNER CAPTURE PHYSICAL MAJOR MINOR\n");
    return 2;
  }
  ComScope com;
  const std::optional<TuningModel> model =
      FindTuningModel(kTunerFileModel, TunerNames{argv[1], argv[2]});
  if (!model) return Fail("model");
  ComPtr<IGraphBuilder> graph;
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&graph))))
    return Fail("graph");
  ComPtr<IBaseFilter> provider, tuner, capture, sink;
  if (FAILED(AddFilterByClsid(graph.Get(), CLSID_ATSCNetworkProvider, L"ATSCNetwork", &provider)))
    return Fail("network provider");
  if (AddFilterByName(graph.Get(), kBdaNetworkTunerCategory, FilterRole::Tuner, &*model,
                      DecoderNames{}, &tuner)
          .Failed())
    return Fail("tuner");
  AtscTuning tuning;
  if (tuning.FindAtscTuningSpace(provider.Get()).Failed()) return Fail("tuning space");
  if (tuning.TuneChannel(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])).Failed())
    return Fail("tune");
  if (ConnectFilters(graph.Get(), provider.Get(), tuner.Get()).Failed()) return Fail("provider");
  if (AddFilterByName(graph.Get(), kBdaReceiverComponentCategory, FilterRole::Capture, &*model,
                      DecoderNames{}, &capture)
          .Failed())
    return Fail("capture");
  if (ConnectFilters(graph.Get(), tuner.Get(), capture.Get()).Failed()) return Fail("tuner -> capture");
  if (FAILED(AddFilterByClsid(graph.Get(), kNullRenderer, L"Null", &sink)))
    return Fail("null renderer");
  if (ConnectFilters(graph.Get(), capture.Get(), sink.Get()).Failed()) return Fail("capture -> null");
  ComPtr<IMediaControl> control;
  if (FAILED(graph.As(&control)) || FAILED(control->Run())) return Fail("run");
  std::printf("running\n");
  std::fflush(stdout);
  Sleep(INFINITE);  // ended from outside
  return 0;
}
