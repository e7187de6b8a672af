#include "graph/LiveGraphBuilder.h"

#include <optional>

#include "core/files/FileNames.h"
#include "graph/GraphToolkit.h"
#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {


// The tuner vendors' own decoders, used when decoders.txt is missing; the
// second id of a pair is tried when the first cannot be created.
constexpr GUID kAtiVideoDecoder[] = {
    {0x3E2C8F5C, 0x0C72, 0x4FD0, {0x87, 0x5F, 0x5E, 0x15, 0x82, 0x9E, 0xE0, 0x51}},
    {0x5CAE8739, 0x5CAA, 0x4484, {0xA0, 0x6A, 0xA8, 0x4C, 0xF8, 0x8E, 0xC0, 0x39}}};
constexpr GUID kAtiAudioDecoder[] = {
    {0xB166AFCB, 0x6A64, 0x4988, {0x96, 0x44, 0x15, 0xB4, 0x40, 0x2C, 0x88, 0xFE}},
    {0xF82C5F48, 0xEB2F, 0x4CFD, {0xA0, 0xCC, 0xA0, 0x5A, 0x97, 0x63, 0xAF, 0xDC}}};
constexpr GUID kFusionVideoDecoder = {
    0xD5B32736, 0x693D, 0x47E8, {0x81, 0xF3, 0xDD, 0xF1, 0xC5, 0x50, 0xC5, 0x80}};
constexpr GUID kFusionAudioDecoder = {
    0xFA245396, 0x72FC, 0x43F9, {0xBB, 0x91, 0xBB, 0x35, 0x44, 0x49, 0x0C, 0x2D}};

}  // namespace

LiveGraphBuilder::LiveGraphBuilder(LiveGraph& graph, const LiveGraphRequest& request)
    : graph(graph), request(request) {}

HRESULT LiveGraphBuilder::Fail(HRESULT hr, const GraphMessage& message) {
  ShowGraphMessage(message);
  return FAILED(hr) ? hr : E_FAIL;
}

HRESULT LiveGraphBuilder::Connect(IBaseFilter* upstream, IBaseFilter* downstream) {
  return ConnectFilters(graph.graphs.live.Get(), upstream, downstream);
}

HRESULT LiveGraphBuilder::AddByClsid(REFCLSID clsid, const wchar_t* name,
                                     ComPtr<IBaseFilter>& filter) {
  return AddFilterByClsid(graph.graphs.live.Get(), clsid, name, filter.ReleaseAndGetAddressOf());
}

HRESULT LiveGraphBuilder::SetUpRenderer() {
  return graph.renderer.SetUp(graph.filters.videoRenderer.Get(), request.videoWindow,
                              request.fullScreenOnPrimary, graph.control.Get());
}

HRESULT LiveGraphBuilder::Build() {
  log.OpenIfPresent(FileNames::kGraphDebugLog);
  RETURN_IF_FAILED(AddSourceChain());

  decoders = DecoderNames{};
  if (const std::optional<DecoderNames> named = ReadDecodersFile(FileNames::kDecoders)) {
    log.Step("USING DECODERS.TXT OK");
    decoders = *named;
    RETURN_IF_FAILED(AddNamedDecoders());
  } else {
    RETURN_IF_FAILED(AddModelDecoders());
  }
  return Start();
}

// Network provider -> tuner -> capture -> demultiplexer -> TIF, tuned to the
// current channel.
HRESULT LiveGraphBuilder::AddSourceChain() {
  GraphFilters& f = graph.filters;
  IGraphBuilder* live = graph.graphs.live.Get();
  const TuningModel* row = request.model;
  HRESULT hr = S_OK;

  log.Step("LOADING ATSC NETWORK PROVIDER");
  hr = AddByClsid(CLSID_ATSCNetworkProvider, L"ATSCNetwork", f.networkProvider);
  if (FAILED(hr)) return Fail(hr, Exclaim("NO ATSC NETWORK PROVIDER"));
  log.Step("LOADING BDA TUNER");
  hr = AddFilterByName(live, kBdaNetworkTunerCategory, FilterRole::Tuner, row, decoders,
                       f.tuner.ReleaseAndGetAddressOf());
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD BDA Tuner"));
  hr = graph.tuning.FindAtscTuningSpace(f.networkProvider.Get());
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T GET TUNING SPACE"));
  const TuneValues& channel = request.channel;
  hr = graph.tuning.TuneChannel(channel.physical, channel.major, channel.minor);
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T TUNE CHANNEL"));
  log.Step("CONNECTING ATSC NETWORK PROVIDER->BDA TUNER");
  hr = Connect(f.networkProvider.Get(), f.tuner.Get());
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT NETWORK PROVIDER TO BDA Tuner"));

  const bool hasCapture = row == nullptr || row->hasCaptureFilter;
  if (hasCapture) {
    log.Step("LOADING BDA CAPTURE/RECEIVER");
    hr = AddFilterByName(live, kBdaReceiverComponentCategory, FilterRole::Capture, row, decoders,
                         f.capture.ReleaseAndGetAddressOf());
    if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD BDA Capture"));
    log.Step("CONNECTING BDA TUNER->BDA CAPTURE/RECEIVER");
    hr = Connect(f.tuner.Get(), f.capture.Get());
    if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT BDA Tuner to BDA Capture"));
  }

  log.Step("LOADING MPEG2 DEMULTIPLEXER");
  hr = AddByClsid(CLSID_MPEG2Demultiplexer, L"Demux", f.demux);
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD MPEG2 DEMULTIPLEXER"));
  if (hasCapture) {
    log.Step("CONNECTING BDA CAPTURE/RECEIVER->MPEG2 DEMULTIPLEXER");
    hr = Connect(f.capture.Get(), f.demux.Get());
    // The same text for every model.
    if (FAILED(hr)) {
      return Fail(hr, Exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Capture to MPEG2 DEMUX"));
    }
  } else {
    log.Step("CONNECTING BDA TUNER->MPEG2 DEMULTIPLEXER");
    hr = Connect(f.tuner.Get(), f.demux.Get());
    if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT BDA Tuner to MPEG2 DEMUX"));
  }

  log.Step("LOADING BDA MPEG2 TRANSPORT STREAM INFORMATION");
  hr = AddByClsid(kBdaTransportInformationFilterClsid, L"BDA TIF", f.tif);
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD BDA TIF"));
  log.Step("CONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM INFORMATION");
  hr = Connect(f.demux.Get(), f.tif.Get());
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT MPEG2 DEMUX TO BDATIF"));
  return S_OK;
}

// Without decoders.txt: the tuner vendor's decoders for models 0, 1 and 2;
// for every other model the demultiplexer goes straight to the renderers and
// the graph inserts the decoders it needs.
HRESULT LiveGraphBuilder::AddModelDecoders() {
  GraphFilters& f = graph.filters;
  const DecoderRule rule = request.model ? request.model->decoderRule : DecoderRule::GraphInserts;
  const bool ownDecoders = rule != DecoderRule::GraphInserts;
  HRESULT hr = S_OK;

  if (ownDecoders) {
    if (rule == DecoderRule::AtiByClassId) {
      log.Step("LOADING ATI VIDEO DECODER");
      hr = AddByClsid(kAtiVideoDecoder[0], L"Video Decoder", f.videoDecoder);
      if (FAILED(hr)) hr = AddByClsid(kAtiVideoDecoder[1], L"Video Decoder", f.videoDecoder);
      if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD ATI VIDEO DECODER"));
    } else {
      log.Step("LOADING FUSIONHDTV VIDEO DECODER");
      hr = AddByClsid(kFusionVideoDecoder, L"Video Decoder", f.videoDecoder);
      if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD FUSION VIDEO DECODER"));
    }
    log.Step("CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER");
    hr = Connect(f.demux.Get(), f.videoDecoder.Get());
    if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT DEMUX TO VIDEO DECODER"));
    if (rule == DecoderRule::AtiByClassId) {
      log.Step("LOADING ATI AUDIO DECODER");
      hr = AddByClsid(kAtiAudioDecoder[0], L"Audio Decoder", f.audioDecoder);
      if (FAILED(hr)) hr = AddByClsid(kAtiAudioDecoder[1], L"Audio Decoder", f.audioDecoder);
      if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD ATI AUDIO DECODER"));
    } else {
      log.Step("LOADING FUSIONHDTV AUDIO DECODER");
      hr = AddByClsid(kFusionAudioDecoder, L"Audio Decoder", f.audioDecoder);
      if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD FUSION AUDIO DECODER"));
    }
    log.Step("CONNECTING MPEG2 DEMULTIPLEXER->AUDIO DECODER");
    hr = Connect(f.demux.Get(), f.audioDecoder.Get());
    if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT DEMUX TO AUDIO DECODER"));
  }

  RETURN_IF_FAILED(AddVideoRenderer(ownDecoders, false));
  if (!ownDecoders) {
    log.Step("CONNECTING MPEG2 DEMULTIPLEXER->VMR");
    hr = Connect(f.demux.Get(), f.videoRenderer.Get());
    if (FAILED(hr)) return Fail(hr, PlainBox("CANT CONNECT DEMUX TO VMR"));
  }
  RETURN_IF_FAILED(AddSoundRenderer());
  if (ownDecoders) {
    log.Step("CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER");
    hr = Connect(f.audioDecoder.Get(), f.soundRenderer.Get());
    if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER"));
  } else {
    log.Step("CONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER");
    hr = Connect(f.demux.Get(), f.soundRenderer.Get());
    if (FAILED(hr)) return Fail(hr, PlainBox("CANT CONNECT DEMUX TO SOUND"));
  }
  return S_OK;
}

// With decoders.txt: the two decoders it names, for every model.
HRESULT LiveGraphBuilder::AddNamedDecoders() {
  GraphFilters& f = graph.filters;
  IGraphBuilder* live = graph.graphs.live.Get();
  const TuningModel* row = request.model;
  HRESULT hr = S_OK;

  log.Step("LOADING VIDEO DECODER");
  hr = AddFilterByName(live, CLSID_LegacyAmFilterCategory, FilterRole::VideoDecoder, row,
                       decoders, f.videoDecoder.ReleaseAndGetAddressOf());
  if (FAILED(hr)) return Fail(hr, CantLoadDecoder(decoders.video));
  log.Step("CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER");
  hr = Connect(f.demux.Get(), f.videoDecoder.Get());
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT DEMUX TO VIDEO DECODER"));
  log.Step("LOADING AUDIO DECODER");
  hr = AddFilterByName(live, CLSID_LegacyAmFilterCategory, FilterRole::AudioDecoder, row,
                       decoders, f.audioDecoder.ReleaseAndGetAddressOf());
  if (FAILED(hr)) return Fail(hr, CantLoadDecoder(decoders.audio));
  log.Step("CONNECTING MPEG2 DEMULTIPLEXER->AUDIO DECODER");
  hr = Connect(f.demux.Get(), f.audioDecoder.Get());
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT DEMUX TO AUDIO DECODER"));

  RETURN_IF_FAILED(AddVideoRenderer(true, true));
  RETURN_IF_FAILED(AddSoundRenderer());
  log.Step("CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER");
  hr = Connect(f.audioDecoder.Get(), f.soundRenderer.Get());
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER"));
  return S_OK;
}

// The VMR-7 in windowless mode; the default video renderer when the VMR
// cannot be created ("WMR") or does not take the decoder's output ("VMR").
HRESULT LiveGraphBuilder::AddVideoRenderer(bool connectDecoder, bool withDecodersFile) {
  GraphFilters& f = graph.filters;
  log.Step("LOADING VMR");
  if (FAILED(AddByClsid(CLSID_VideoMixingRenderer, L"VMR", f.videoRenderer))) {
    log.Step("VMR FAILED...LOADING DEFAULT VMR");
    return AddDefaultRenderer(L"WMR", connectDecoder);
  }
  HRESULT hr = SetUpRenderer();
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T INIT VMR7"));
  if (!connectDecoder) return S_OK;
  log.Step("CONNECTING VIDEO DECODER->VMR");
  if (SUCCEEDED(Connect(f.videoDecoder.Get(), f.videoRenderer.Get()))) return S_OK;
  // The removal of a filter we just added cannot fail in a way that matters:
  // the replacement is added under its own reference.
  graph.graphs.live->RemoveFilter(f.videoRenderer.Get());
  graph.renderer.Release();
  log.Step(withDecodersFile ? "VIDEO DECODER->VMR FAILED...LOADING DEFAULT VMR"
                            : "VMR FAILED...LOADING DEFAULT VMR");
  return AddDefaultRenderer(L"VMR", true);
}

HRESULT LiveGraphBuilder::AddDefaultRenderer(const wchar_t* name, bool connectDecoder) {
  GraphFilters& f = graph.filters;
  HRESULT hr = AddByClsid(CLSID_VideoRendererDefault, name, f.videoRenderer);
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD VMR7"));
  hr = SetUpRenderer();
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T INIT VMR7"));
  if (!connectDecoder) return S_OK;
  log.Step("CONNECTING VIDEO DECODER->DEFAULT VMR");
  hr = Connect(f.videoDecoder.Get(), f.videoRenderer.Get());
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T CONNECT VIDEO TO VMR7"));
  return S_OK;
}

HRESULT LiveGraphBuilder::AddSoundRenderer() {
  log.LineFeed();
  log.Step("LOADING DIRECTSOUND RENDERER");
  const HRESULT hr = AddByClsid(CLSID_DSoundRender, L"Sound", graph.filters.soundRenderer);
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD DIRECTSOUND RENDERER"));
  return S_OK;
}

HRESULT LiveGraphBuilder::Start() {
  IGraphBuilder* live = graph.graphs.live.Get();
  HRESULT hr = live->QueryInterface(IID_PPV_ARGS(graph.control.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T LOAD MEDIA CONTROL"));
  // Without IBasicAudio the picture still runs; only volume and mute are lost.
  if (FAILED(live->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(
                                             graph.basicAudio.ReleaseAndGetAddressOf())))) {
    ShowGraphMessage(Exclaim("CAN'T GET VOLUME"));
  }
  hr = graph.control->Run();
  if (FAILED(hr)) return Fail(hr, Exclaim("CAN'T RUN FILTER GRAPH"));
  log.Step("TELVANTIS OK");
  log.Close();
  return S_OK;
}
