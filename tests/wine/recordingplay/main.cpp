// telvrecordingplay FILE: loads a finished recording into the stream-buffer
// source, prints its length ("duration=S.SS"), connects every output pin to
// a null renderer (what is checked is the source, not decoding), plays it
// from the start and prints "played=S.SS" when the graph reports the end,
// within the length and a half plus 20 seconds; else the position reached.
// Exit status: 0 played to the end, 1 a call failed or the end never came
// (message on stderr), 2 bad usage.

#include "tests/wine/shared/GraphTestProgram.h"
#include "dshow/StreamBufferInterfaces.h"
#include "win/ComScope.h"
#include "win/InterfaceIds.h"

#include <uuids.h>

#include <cstdio>
#include <vector>

using Microsoft::WRL::ComPtr;

const char kTestProgramName[] = "telvrecordingplay";

// The platform's null renderer (qedit), which takes any media type.
constexpr GUID kNullRenderer = {0xC1F400A4, 0x3F08, 0x11D3,
                                {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

namespace {

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Play(const char* file) {
  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> source;
  CHECK("create source", CoCreateInstance(CLSID_StreamBufferSource, nullptr,
                                          CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&source)));
  CHECK("add source", graph->AddFilter(source.Get(), L"SOURCE"));
  ComPtr<IFileSourceFilter> loader;
  CHECK("query IFileSourceFilter", source.As(&loader));
  CHECK("load", loader->Load(Wide(file).c_str(), nullptr));

  ComPtr<IStreamBufferMediaSeeking> seeking;
  CHECK("query IStreamBufferMediaSeeking", source.As(&seeking));
  LONGLONG duration = 0;
  CHECK("duration", seeking->GetDuration(&duration));
  const double length = static_cast<double>(duration) / 1e7;
  std::printf("duration=%.2f\n", length);

  std::vector<ComPtr<IPin>> outputs;
  ComPtr<IEnumPins> pins;
  CHECK("enum pins", source->EnumPins(&pins));
  ComPtr<IPin> pin;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT) {
      outputs.push_back(pin);
    }
    pin.Reset();
  }
  for (const ComPtr<IPin>& output : outputs) {
    ComPtr<IBaseFilter> renderer;
    CHECK("create null renderer", CoCreateInstance(kNullRenderer, nullptr, CLSCTX_INPROC_SERVER,
                                                   IID_PPV_ARGS(&renderer)));
    CHECK("add null renderer", graph->AddFilter(renderer.Get(), nullptr));
    ComPtr<IPin> input;
    CHECK("find renderer input", FindPin(renderer.Get(), PINDIR_INPUT, &input));
    CHECK("connect", graph->ConnectDirect(output.Get(), input.Get(), nullptr));
  }

  ComPtr<IMediaControl> control;
  ComPtr<IMediaEvent> events;
  CHECK("query IMediaControl", graph.As(&control));
  CHECK("query IMediaEvent", graph.As(&events));
  const double started = Seconds();
  CHECK("run", control->Run());
  long code = 0;
  const long limit = static_cast<long>((length * 1.5 + 20) * 1000);
  const HRESULT waited = events->WaitForCompletion(limit, &code);
  LONGLONG reached = 0;
  seeking->GetCurrentPosition(&reached);  // reported only
  control->Stop();  // the result does not change what was played
  if (waited != S_OK || code != EC_COMPLETE) {
    std::printf("position=%.2f\n", static_cast<double>(reached) / 1e7);
    return Fail("play to the end", waited != S_OK ? waited : E_FAIL);
  }
  std::printf("played=%.2f\n", Seconds() - started);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: telvrecordingplay FILE\n");
    return 2;
  }
  ComScope com;
  return Play(argv[1]);
}
