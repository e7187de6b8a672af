#include "graph/PlaybackGraph.h"

#include <string>

#include "graph/DecoderHold.h"
#include "graph/PlayerPinTypes.h"
#include "win/AnsiText.h"
#include "win/HResultMacros.h"
#include "win/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kVideoPinName[] = L"Video Pin";
constexpr wchar_t kAudioPinName[] = L"Audio Pin";

HRESULT CreateMappedPin(IMpeg2Demultiplexer* pins, AM_MEDIA_TYPE& type, const wchar_t* name,
                        ComPtr<IMPEG2PIDMap>& map) {
  ComPtr<IPin> pin;
  std::wstring pinName(name);
  RETURN_IF_FAILED(pins->CreateOutputPin(&type, pinName.data(), &pin));
  return pin.As(&map);
}

void MapOne(IMPEG2PIDMap* map, std::uint32_t pid, bool on) {
  if (map == nullptr) return;
  ULONG value = pid;
  if (on) {
    map->MapPID(1, &value, MEDIA_ELEMENTARY_STREAM);  // not reported: see the header
  } else {
    map->UnmapPID(1, &value);  // likewise
  }
}

}  // namespace

HRESULT CreateProgramPins(PlaybackGraph& graph, std::optional<std::uint32_t> videoPid,
                          std::optional<std::uint32_t> audioPid, AudioCoding coding) {
  ComPtr<IMpeg2Demultiplexer> pins;
  RETURN_IF_FAILED(graph.demux.As(&pins));
  PlayerPinTypes types(coding);
  graph.audioCoding = coding;
  if (SUCCEEDED(CreateMappedPin(pins.Get(), types.video, kVideoPinName, graph.videoMap)) &&
      videoPid) {
    MapOne(graph.videoMap.Get(), *videoPid, true);
  }
  if (SUCCEEDED(CreateMappedPin(pins.Get(), types.audio, kAudioPinName, graph.audioMap)) &&
      audioPid) {
    MapOne(graph.audioMap.Get(), *audioPid, true);
  }
  return S_OK;
}

HRESULT RunPlayback(PlaybackGraph& graph) {
  if (!graph.control) return E_UNEXPECTED;
  if (!graph.holdDecoder || !graph.videoDecoder) return graph.control->Run();
  DecoderHold hold;  // a courtesy to one vendor's decoder
  hold.Hold(graph.videoDecoder.Get());
  const HRESULT hr = hold.RunGraph(graph.control.Get());
  hold.Release(graph.videoDecoder.Get());
  return hr;
}

HRESULT LoadPlaybackFile(PlaybackGraph& graph, const std::string& file) {
  if (!graph.fileSource) return E_UNEXPECTED;
  return graph.fileSource->Load(Widen(file).c_str(), nullptr);
}

void MapProgram(PlaybackGraph& graph, std::uint32_t videoPid, std::uint32_t audioPid) {
  MapOne(graph.videoMap.Get(), videoPid, true);
  MapOne(graph.audioMap.Get(), audioPid, true);
}

void UnmapProgram(PlaybackGraph& graph, std::uint32_t videoPid, std::uint32_t audioPid) {
  MapOne(graph.videoMap.Get(), videoPid, false);
  MapOne(graph.audioMap.Get(), audioPid, false);
}

void SetAudioCoding(PlaybackGraph& graph, AudioCoding coding) {
  ComPtr<IMpeg2Demultiplexer> pins;
  if (coding == graph.audioCoding || !graph.demux || FAILED(graph.demux.As(&pins))) return;
  PlayerPinTypes types(coding);
  std::wstring pinName(kAudioPinName);
  if (SUCCEEDED(pins->SetOutputPinMediaType(pinName.data(), &types.audio))) {
    graph.audioCoding = coding;
  }
}

bool TakeCompletion(PlaybackGraph& graph) {
  ComPtr<IMediaEvent> events;
  if (!graph.graph || FAILED(graph.graph.As(&events))) return false;
  bool complete = false;
  long code = 0;
  LONG_PTR first = 0;
  LONG_PTR second = 0;
  while (events->GetEvent(&code, &first, &second, 0) == S_OK) {
    complete = complete || code == EC_COMPLETE;
    events->FreeEventParams(code, first, second);
  }
  return complete;
}

void TearDownPlayback(PlaybackGraph& graph) {
  if (graph.control) {
    graph.control->Pause();  // a graph that never ran may refuse: it stops all the same
    graph.control->Stop();
  }
  if (graph.graph) {
    for (IBaseFilter* filter : {graph.videoDecoder.Get(), graph.audioDecoder.Get(),
                                graph.videoRenderer.Get(), graph.soundRenderer.Get(),
                                graph.demux.Get(), graph.source.Get()}) {
      if (filter != nullptr) graph.graph->RemoveFilter(filter);  // removes its connections too
    }
  }
  graph.renderer.Reset();
  graph.videoMap.Reset();
  graph.audioMap.Reset();
  graph.control.Reset();
  graph.audio.Reset();
  graph.seeking.Reset();
  graph.fileSource.Reset();
  graph.videoDecoder.Reset();
  graph.audioDecoder.Reset();
  graph.videoRenderer.Reset();
  graph.soundRenderer.Reset();
  graph.demux.Reset();
  graph.source.Reset();
  graph.graph.Reset();
  graph.holdDecoder = false;
  graph.audioCoding = AudioCoding::Ac3;
}
