#include "graph/PlaybackGraph.h"

#include <dvdmedia.h>
#include <uuids.h>

#include <memory>
#include <string_view>

#include "core/tuning/TuningModel.h"
#include "dshow/StreamBufferInterfaces.h"
#include "graph/GraphToolkit.h"
#include "win/HResultMacros.h"
#include "win/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr GUID kPushSourceClsid = {
    0xB489920A, 0x10FF, 0x42EF, {0x99, 0xD2, 0xAD, 0x80, 0x52, 0xA5, 0x6C, 0x5A}};
constexpr GUID kAtiAudioDecoder[] = {
    {0xB166AFCB, 0x6A64, 0x4988, {0x96, 0x44, 0x15, 0xB4, 0x40, 0x2C, 0x88, 0xFE}},
    {0xF82C5F48, 0xEB2F, 0x4CFD, {0xA0, 0xCC, 0xA0, 0x5A, 0x97, 0x63, 0xAF, 0xDC}}};
constexpr GUID kAtiVideoDecoder[] = {
    {0x3E2C8F5C, 0x0C72, 0x4FD0, {0x87, 0x5F, 0x5E, 0x15, 0x82, 0x9E, 0xE0, 0x51}},
    {0x5CAE8739, 0x5CAA, 0x4484, {0xA0, 0x6A, 0xA8, 0x4C, 0xF8, 0x8E, 0xC0, 0x39}}};
constexpr GUID kFusionAudioDecoder = {
    0xFA245396, 0x72FC, 0x43F9, {0xBB, 0x91, 0xBB, 0x35, 0x44, 0x49, 0x0C, 0x2D}};
constexpr GUID kFusionVideoDecoder = {
    0xD5B32736, 0x693D, 0x47E8, {0x81, 0xF3, 0xDD, 0xF1, 0xC5, 0x50, 0xC5, 0x80}};

constexpr const char* kHeldDecoderName = "Zulu HDTV DxVA Decoder(BDA)";

std::wstring Widen(const std::string& text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
  wide.resize(static_cast<size_t>(size) - 1);
  return wide;
}

// The first of `ids` that can be created and added.
HRESULT AddFirstOf(IGraphBuilder* graph, std::initializer_list<GUID> ids, const wchar_t* name,
                   ComPtr<IBaseFilter>& filter) {
  HRESULT hr = E_FAIL;
  for (const GUID& id : ids) {
    hr = AddFilterByClsid(graph, id, name, filter.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr)) break;
  }
  return hr;
}

AM_MEDIA_TYPE PinType(const GUID& major, const GUID& sub, const GUID& format, BYTE* block,
                      ULONG size) {
  AM_MEDIA_TYPE type{};
  type.majortype = major;
  type.subtype = sub;
  type.formattype = format;
  type.bFixedSizeSamples = FALSE;
  type.bTemporalCompression = FALSE;
  type.lSampleSize = 0;
  type.cbFormat = size;
  type.pbFormat = block;
  return type;
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
    if (!Step(AddFilterByClsid(g.graph.Get(), kPushSourceClsid, L"PUSHSOURCE",
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
    BYTE videoFormat[136] = {};
    BYTE audioFormat[18] = {};
    AM_MEDIA_TYPE video = PinType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video,
                                  videoFormat, sizeof videoFormat);
    AM_MEDIA_TYPE audio = PinType(MEDIATYPE_Audio, MEDIASUBTYPE_DOLBY_AC3, FORMAT_WaveFormatEx,
                                  audioFormat, sizeof audioFormat);
    // Pin failures are not reported: the connections that follow name them.
    if (SUCCEEDED(CreateMappedPin(pins.Get(), video, L"Video Pin", g.videoMap))) {
      MapOne(g.videoMap.Get(), request.videoPid, true);
    }
    if (SUCCEEDED(CreateMappedPin(pins.Get(), audio, L"Audio Pin", g.audioMap))) {
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
      return Step(AddFirstOf(g.graph.Get(), {kAtiAudioDecoder[0], kAtiAudioDecoder[1]},
                             L"Audio Decoder", g.audioDecoder),
                  Exclaim("CAN'T LOAD ATI AUDIO DECODER")) &&
             ConnectDecoder(g.audioDecoder.Get(), true) &&
             Step(AddFirstOf(g.graph.Get(), {kAtiVideoDecoder[0], kAtiVideoDecoder[1]},
                             L"Video Decoder", g.videoDecoder),
                  Exclaim("CAN'T LOAD ATI VIDEO DECODER")) &&
             ConnectDecoder(g.videoDecoder.Get(), false);
    }
    if (request.modelNumber == 1 || request.modelNumber == 2) {
      g.holdDecoder = true;  // no decoders.txt: the video decoder's name is empty
      return Step(AddFirstOf(g.graph.Get(), {kFusionAudioDecoder}, L"Audio Decoder",
                             g.audioDecoder),
                  Exclaim("CAN'T LOAD FUSION AUDIO DECODER")) &&
             ConnectDecoder(g.audioDecoder.Get(), true) &&
             Step(AddFirstOf(g.graph.Get(), {kFusionVideoDecoder}, L"Video Decoder",
                             g.videoDecoder),
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
