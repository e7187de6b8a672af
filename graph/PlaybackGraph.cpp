#include "graph/PlaybackGraph.h"

#include <dvdmedia.h>
#include <uuids.h>

#include <memory>
#include <span>
#include <string_view>

#include "core/tuning/TuningModel.h"
#include "dshow/StreamBufferInterfaces.h"
#include "graph/FilterClassIds.h"
#include "graph/GraphToolkit.h"
#include "graph/PlayerPinTypes.h"
#include "win/AnsiText.h"
#include "win/HResultMacros.h"
#include "win/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr const char* kHeldDecoderName = "Zulu HDTV DxVA Decoder(BDA)";

// The first of `ids` that can be created and added.
HRESULT AddFirstOf(IGraphBuilder* graph, std::span<const GUID> ids, const wchar_t* name,
                   ComPtr<IBaseFilter>& filter) {
  HRESULT hr = E_FAIL;
  for (const GUID& id : ids) {
    hr = AddFilterByClsid(graph, id, name, filter.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr)) break;
  }
  return hr;
}

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

class Builder {
 public:
  Builder(PlaybackGraph& graph, const PlaybackRequest& request) : g(graph), request(request) {}

  GraphOutcome Run() {
    if (!Step(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(g.graph.ReleaseAndGetAddressOf())),
              Exclaim("CAN'T INITIALIZE FILTER GRAPH")) ||
        !AddSource() || !AddDecoders() || !AddVideoRenderer() || !AddSound() || !Start()) {
      return outcome;
    }
    return outcome;
  }

 private:
  // Records a step's result; false (and the message) when it failed.
  bool Step(HRESULT hr, GraphMessage failure) {
    if (SUCCEEDED(hr)) return true;
    outcome.result = hr;
    outcome.messages.push_back(std::move(failure));
    return false;
  }

  bool Connected(const GraphOutcome& connect, GraphMessage failure) {
    outcome.Append(connect);
    return Step(connect.result, std::move(failure));
  }

  IBaseFilter* Upstream() const { return g.demux ? g.demux.Get() : g.source.Get(); }

  bool AddSource() {
    const bool ts = request.source == PlaybackSource::TransportStream;
    if (ts && !Step(request.fileReadable ? S_OK : E_FAIL, PlainBox("CAN'T READFILE"))) return false;
    if (!ts) {
      if (!Step(AddFilterByClsid(g.graph.Get(), CLSID_StreamBufferSource, L"SOURCE",
                                 g.source.ReleaseAndGetAddressOf()),
                Exclaim("CAN'T ADD SOURCE FILTER"))) {
        return false;
      }
      ComPtr<IStreamBufferSource> bufferSource;
      if (!Step(g.source.As(&bufferSource), Exclaim("CAN'T QI SBSOURCE"))) return false;
      // A file that does not load leaves the source without pins: the
      // connections that follow name the failure.
      if (SUCCEEDED(g.source.As(&g.fileSource))) {
        g.fileSource->Load(Widen(request.file).c_str(), nullptr);
      }
      return true;
    }
    if (!Step(AddFilterByClsid(g.graph.Get(), kTransportStreamSourceClsid, L"PUSHSOURCE",
                               g.source.ReleaseAndGetAddressOf()),
              Exclaim("CAN'T ADD PUSHSOURCE FILTER")) ||
        !Step(g.source.As(&g.fileSource), PlainBox("CAN'T QI FILESOURCEFILTER"))) {
      return false;
    }
    // The source tells of a file it cannot open itself ("CREATEFILE").
    g.fileSource->Load(Widen(request.file).c_str(), nullptr);
    if (!Step(AddFilterByClsid(g.graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux",
                               g.demux.ReleaseAndGetAddressOf()),
              Exclaim("CAN'T LOAD MPEG2 DEMULTIPLEXER")) ||
        !Connected(ConnectFilters(g.graph.Get(), g.source.Get(), g.demux.Get()),
                   Exclaim("CAN'T CONNECT MPEG2 DEMULTIPLEXER"))) {
      return false;
    }
    ComPtr<IMpeg2Demultiplexer> pins;
    if (!Step(g.demux.As(&pins), Exclaim("CAN'T CONFIG PINS MPEG2 DEMULTIPLEXER"))) return false;
    PlayerPinTypes types;
    // Pin failures are not reported: the connections that follow name them.
    if (SUCCEEDED(CreateMappedPin(pins.Get(), types.video, L"Video Pin", g.videoMap))) {
      MapOne(g.videoMap.Get(), request.videoPid, true);
    }
    if (SUCCEEDED(CreateMappedPin(pins.Get(), types.audio, L"Audio Pin", g.audioMap))) {
      MapOne(g.audioMap.Get(), request.audioPid, true);
    }
    return true;
  }

  bool ConnectDecoder(IBaseFilter* decoder, bool audio) {
    return Connected(ConnectFilters(g.graph.Get(), Upstream(), decoder),
                     Exclaim(audio ? "CAN'T CONNECT SOURCE TO AUDIO DECODER"
                                   : "CAN'T CONNECT SOURCE TO VIDEO DECODER"));
  }

  bool AddNamedDecoder(FilterRole role, ComPtr<IBaseFilter>& decoder, const std::string& name) {
    const TuningModel any{};
    GraphOutcome added = AddFilterByName(g.graph.Get(), CLSID_LegacyAmFilterCategory, role, &any,
                                         *request.decoders, decoder.ReleaseAndGetAddressOf());
    outcome.Append(added);
    return Step(added.result, CantLoadDecoder(name));
  }

  bool AddDecoders() {
    if (request.decoders) {
      const DecoderNames& names = *request.decoders;
      g.holdDecoder = (request.modelNumber == 1 || request.modelNumber == 2) &&
                      (names.video.empty() || names.video == kHeldDecoderName);
      return AddNamedDecoder(FilterRole::VideoDecoder, g.videoDecoder, names.video) &&
             AddNamedDecoder(FilterRole::AudioDecoder, g.audioDecoder, names.audio) &&
             ConnectDecoder(g.audioDecoder.Get(), true) && ConnectDecoder(g.videoDecoder.Get(), false);
    }
    if (request.modelNumber == 0) {
      return Step(AddFirstOf(g.graph.Get(), ClassIds(FilterClass::AtiAudioDecoder),
                             L"Audio Decoder", g.audioDecoder),
                  Exclaim("CAN'T LOAD ATI AUDIO DECODER")) &&
             ConnectDecoder(g.audioDecoder.Get(), true) &&
             Step(AddFirstOf(g.graph.Get(), ClassIds(FilterClass::AtiVideoDecoder),
                             L"Video Decoder", g.videoDecoder),
                  Exclaim("CAN'T LOAD ATI VIDEO DECODER")) &&
             ConnectDecoder(g.videoDecoder.Get(), false);
    }
    if (request.modelNumber == 1 || request.modelNumber == 2) {
      g.holdDecoder = true;  // no decoders.txt: the video decoder's name is empty
      return Step(AddFirstOf(g.graph.Get(), ClassIds(FilterClass::FusionAudioDecoder),
                             L"Audio Decoder", g.audioDecoder),
                  Exclaim("CAN'T LOAD FUSION AUDIO DECODER")) &&
             ConnectDecoder(g.audioDecoder.Get(), true) &&
             Step(AddFirstOf(g.graph.Get(), ClassIds(FilterClass::FusionVideoDecoder),
                             L"Video Decoder", g.videoDecoder),
                  Exclaim("CAN'T LOAD FUSION VIDEO DECODER")) &&
             ConnectDecoder(g.videoDecoder.Get(), false);
    }
    return true;  // the graph inserts the decoders it needs
  }

  // The renderer in windowless mode in the video window.
  bool SetUpRenderer() {
    GraphOutcome setUp = g.renderer.SetUp(g.videoRenderer.Get(), request.videoWindow,
                                          request.primaryDisplay, nullptr);
    outcome.Append(setUp);
    return Step(setUp.result, Exclaim("CAN'T INIT VMR7"));
  }

  bool AddVideoRenderer() {
    const bool vmr = SUCCEEDED(AddFilterByClsid(g.graph.Get(), CLSID_VideoMixingRenderer, L"VMR",
                                                g.videoRenderer.ReleaseAndGetAddressOf()));
    if (!vmr && !Step(AddFilterByClsid(g.graph.Get(), CLSID_VideoRendererDefault, L"WMR",
                                       g.videoRenderer.ReleaseAndGetAddressOf()),
                      Exclaim("CAN'T LOAD VMR7"))) {
      return false;
    }
    if (!SetUpRenderer()) return false;
    if (!g.videoDecoder) return true;
    // The decoder is connected whichever renderer was added.
    GraphOutcome connect = ConnectFilters(g.graph.Get(), g.videoDecoder.Get(), g.videoRenderer.Get());
    if (connect.Succeeded()) return true;
    if (vmr) {
      g.graph->RemoveFilter(g.videoRenderer.Get());  // its place is taken below
      g.renderer.Reset();
      if (!Step(AddFilterByClsid(g.graph.Get(), CLSID_VideoRendererDefault, L"VMR",
                                 g.videoRenderer.ReleaseAndGetAddressOf()),
                Exclaim("CAN'T CONNECT VIDEO TO VMR7")) ||
          !SetUpRenderer()) {
        return false;
      }
      connect = ConnectFilters(g.graph.Get(), g.videoDecoder.Get(), g.videoRenderer.Get());
    }
    return Step(connect.result, Exclaim("CAN'T CONNECT VIDEO TO VMR7"));
  }

  bool AddSound() {
    if (!Step(AddFilterByClsid(g.graph.Get(), CLSID_DSoundRender, L"Sound",
                               g.soundRenderer.ReleaseAndGetAddressOf()),
              Exclaim("CAN'T LOAD DIRECTSOUND RENDERER"))) {
      return false;
    }
    if (g.audioDecoder) {
      return Connected(ConnectFilters(g.graph.Get(), g.audioDecoder.Get(), g.soundRenderer.Get()),
                       Exclaim("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER"));
    }
    if (!Connected(ConnectFilters(g.graph.Get(), Upstream(), g.soundRenderer.Get(), &MEDIATYPE_Audio),
                   PlainBox("CANT CONNECT DEMUX TO SOUND"))) {
      return false;
    }
    // A recording without a picture still plays its sound.
    ConnectFilters(g.graph.Get(), Upstream(), g.videoRenderer.Get(), &MEDIATYPE_Video);
    return true;
  }

  bool Start() {
    if (!Step(g.graph.As(&g.control), Exclaim("CAN'T LOAD MEDIA CONTROL"))) return false;
    g.graph.As(&g.audio);  // without it only volume and mute are lost
    if (request.source == PlaybackSource::TransportStream) {
      if (FAILED(g.source.As(&g.seeking))) outcome.messages.push_back(Exclaim("QI MEDIASEEKING"));
      ComPtr<IReferenceClock> clock;
      ComPtr<IMediaFilter> graphFilter;
      if (SUCCEEDED(g.soundRenderer.As(&clock)) && SUCCEEDED(g.graph.As(&graphFilter))) {
        graphFilter->SetSyncSource(clock.Get());  // the graph's own clock otherwise
      }
    } else {
      ComPtr<IStreamBufferMediaSeeking> bufferSeeking;
      if (SUCCEEDED(g.source.As(&bufferSeeking))) g.seeking = bufferSeeking;
    }
    return Step(RunPlayback(g), Exclaim("CAN'T RUN FILTER GRAPH"));
  }

  PlaybackGraph& g;
  const PlaybackRequest& request;
  GraphOutcome outcome;
};

}  // namespace

GraphOutcome BuildPlaybackGraph(PlaybackGraph& graph, const PlaybackRequest& request) {
  TearDownPlayback(graph);
  GraphOutcome outcome = Builder(graph, request).Run();
  if (outcome.Failed()) TearDownPlayback(graph);
  return outcome;
}

HRESULT RunPlayback(PlaybackGraph& graph) {
  if (!graph.control) return E_UNEXPECTED;
  if (!graph.holdDecoder || !graph.videoDecoder) return graph.control->Run();
  graph.videoDecoder->Pause();  // the hold is a courtesy to one vendor's decoder
  const HRESULT hr = graph.control->Run();
  graph.videoDecoder->Run(0);  // likewise
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
}
