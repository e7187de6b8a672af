// standindemux: builds graphs around the stand-in demultiplexer, pin tee and
// transport information filter for the Wine tests, and prints what it sees
// as "name=value" lines.
//
//   standindemux pids [--analyzer] FILE VPID APID [VPID2 APID2]
//       push source -> demultiplexer with "Video Pin" and "Audio Pin" made and
//       mapped as the TS player does, each to a counting sink (the video
//       through the video stream analyser with --analyzer); runs 3 s;
//       then, given a second pair, unmaps, maps the second pair, plays again
//       from the start and reports with the prefix "again."; at the end
//       deletes the audio pin, twice
//   standindemux record OUT SECONDS PHYS MAJOR MINOR [PHYS2 MAJOR2 MINOR2]
//       network provider -> tuner -> capture -> tee -> dump filter (OUT),
//       tee -> demultiplexer -> TIF, connected by first free pins; tunes,
//       runs, optionally tunes again half way
//   standindemux live SECONDS PHYS MAJOR MINOR PHYS2 MAJOR2 MINOR2
//       network provider -> tuner -> capture -> demultiplexer -> TIF, the
//       demultiplexer's own video and audio pins to counting sinks; tunes,
//       runs, tunes again half way; reports each half ("first.", "second.")
//   standindemux render SECONDS PHYS MAJOR MINOR
//       the live chain with the demultiplexer connected, by first free pins
//       and intelligent connect, to the VMR-7 and the DirectSound renderer;
//       reports the graph's error events and the frames the renderer drew
//   standindemux create
//       creates each stand-in filter of the demultiplexer server
// Exit status: 0 done, 1 a step failed (named on stderr), 2 bad usage.

#include "graph/AtscTuning.h"
#include "win/ComScope.h"
#include "CountingSink.h"
#include "tests/wine/shared/GraphTestProgram.h"
#include "win/HResultMacros.h"
#include "win/InterfaceIds.h"

#include <bdaiface.h>
#include <dshow.h>
#include <dvdmedia.h>
#include <uuids.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

const char kTestProgramName[] = "standindemux";

namespace {

std::string Narrow(const wchar_t* text) {
  char buffer[512] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return buffer;
}

HRESULT AddByClsid(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name, IBaseFilter** out) {
  ComPtr<IBaseFilter> filter;
  RETURN_IF_FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)));
  RETURN_IF_FAILED(graph->AddFilter(filter.Get(), name));
  return filter.CopyTo(out);
}

// The first device of a category, added under `name`.
HRESULT AddFirstDevice(IGraphBuilder* graph, const GUID& category, const wchar_t* name,
                       IBaseFilter** out) {
  ComPtr<ICreateDevEnum> devices;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&devices)));
  ComPtr<IEnumMoniker> monikers;
  RETURN_IF_FAILED(devices->CreateClassEnumerator(category, &monikers, 0));
  RETURN_HR_IF(VFW_E_NOT_FOUND, !monikers);
  ComPtr<IMoniker> moniker;
  RETURN_HR_IF(VFW_E_NOT_FOUND, monikers->Next(1, &moniker, nullptr) != S_OK);
  ComPtr<IBaseFilter> filter;
  RETURN_IF_FAILED(moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(&filter)));
  RETURN_IF_FAILED(graph->AddFilter(filter.Get(), name));
  return filter.CopyTo(out);
}

bool IsFree(IPin* pin, PIN_DIRECTION wanted) {
  PIN_DIRECTION direction;
  ComPtr<IPin> peer;
  return SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted &&
         pin->ConnectedTo(&peer) == VFW_E_NOT_CONNECTED;
}

// As the suite connects filters: the first free output pin of `from` and the
// first free input pin of `to` that IGraphBuilder::Connect joins.
HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to) {
  ComPtr<IEnumPins> outputs;
  RETURN_IF_FAILED(from->EnumPins(&outputs));
  ComPtr<IPin> out;
  while (outputs->Next(1, &out, nullptr) == S_OK) {
    if (IsFree(out.Get(), PINDIR_OUTPUT)) {
      ComPtr<IEnumPins> inputs;
      RETURN_IF_FAILED(to->EnumPins(&inputs));
      ComPtr<IPin> in;
      while (inputs->Next(1, &in, nullptr) == S_OK) {
        if (IsFree(in.Get(), PINDIR_INPUT) && SUCCEEDED(graph->Connect(out.Get(), in.Get()))) {
          return S_OK;
        }
        in.Reset();
      }
    }
    out.Reset();
  }
  return E_FAIL;
}

// The media types the TS player gives its two pins.
AM_MEDIA_TYPE PlayerType(const GUID& major, const GUID& sub, const GUID& format, BYTE* block,
                         ULONG size) {
  AM_MEDIA_TYPE mt{};
  mt.majortype = major;
  mt.subtype = sub;
  mt.formattype = format;
  mt.bFixedSizeSamples = FALSE;
  mt.bTemporalCompression = FALSE;
  mt.lSampleSize = 0;
  mt.cbFormat = size;
  mt.pbFormat = block;
  return mt;
}

// "name dir connected" per pin, and the PIDs each output carries.
void PrintPins(const char* prefix, IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(&pins))) return;
  ComPtr<IPin> pin;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_INFO info{};
    if (SUCCEEDED(pin->QueryPinInfo(&info))) {
      if (info.pFilter != nullptr) info.pFilter->Release();
      ComPtr<IPin> peer;
      std::string line = std::string(prefix) + "pin=" + Narrow(info.achName) +
                         (info.dir == PINDIR_INPUT ? " in" : " out") +
                         (SUCCEEDED(pin->ConnectedTo(&peer)) ? " connected" : " free");
      ComPtr<IMPEG2PIDMap> map;
      ComPtr<IEnumPIDMap> mapped;
      if (SUCCEEDED(pin.As(&map)) && SUCCEEDED(map->EnumPIDMap(&mapped))) {
        PID_MAP entry{};
        while (mapped->Next(1, &entry, nullptr) == S_OK) {
          char text[32];
          std::snprintf(text, sizeof text, " 0x%lX/%d", entry.ulPID,
                        static_cast<int>(entry.MediaSampleContent));
          line += text;
        }
      }
      std::printf("%s\n", line.c_str());
    }
    pin.Reset();
  }
}

void PrintReport(const std::string& prefix, const SinkReport& r) {
  std::printf("%ssamples=%ld\n%sbytes=%lld\n%swithout_pts=%ld\n%sdiscontinuities=%ld\n",
              prefix.c_str(), r.samples, prefix.c_str(), r.bytes, prefix.c_str(), r.withoutPts,
              prefix.c_str(), r.discontinuities);
  std::printf("%ssync_points=%ld\n%sac3_frames=%ld\n%spts_rising=%d\n%stime_rising=%d\n",
              prefix.c_str(), r.syncPoints, prefix.c_str(), r.ac3Frames, prefix.c_str(),
              r.ptsRising ? 1 : 0, prefix.c_str(), r.timeRising ? 1 : 0);
  std::printf("%sfirst_pts=%lld\n%slast_pts=%lld\n%sfirst_time=%lld\n%slast_time=%lld\n",
              prefix.c_str(), r.firstPts, prefix.c_str(), r.lastPts, prefix.c_str(), r.firstTime,
              prefix.c_str(), r.lastTime);
  std::printf("%sframe_size=%s\n%sframe_sizes=%s\n", prefix.c_str(), r.frameSize.c_str(),
              prefix.c_str(), r.frameSizes.c_str());
}

HRESULT MapOne(IPin* pin, ULONG pid) {
  ComPtr<IMPEG2PIDMap> map;
  RETURN_IF_FAILED(ComPtr<IPin>(pin).As(&map));
  return map->MapPID(1, &pid, MEDIA_ELEMENTARY_STREAM);
}

HRESULT UnmapOne(IPin* pin, ULONG pid) {
  ComPtr<IMPEG2PIDMap> map;
  RETURN_IF_FAILED(ComPtr<IPin>(pin).As(&map));
  return map->UnmapPID(1, &pid);
}

// The TS player's program change: unmap, map the other pair, play from the start.
int PlayAgain(IPin* videoPin, IPin* audioPin, ULONG videoPid, ULONG audioPid, ULONG videoPid2,
              ULONG audioPid2, IBaseFilter* demux, IMediaSeeking* seeking, IMediaControl* control,
              CountingSinkPin& videoCounter, CountingSinkPin& audioCounter) {
  PrintResult("unmap_video", UnmapOne(videoPin, videoPid));
  PrintResult("unmap_audio", UnmapOne(audioPin, audioPid));
  PrintResult("map_video_again", MapOne(videoPin, videoPid2));
  PrintResult("map_audio_again", MapOne(audioPin, audioPid2));
  PrintPins("again.", demux);
  videoCounter.Clear();
  audioCounter.Clear();
  LONGLONG zero = 0;
  CHECK("seek to start", seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr,
                                               AM_SEEKING_NoPositioning));
  CHECK("Run", control->Run());
  Sleep(3000);
  CHECK("Stop", control->Stop());
  PrintReport("again.video.", videoCounter.Report());
  PrintReport("again.audio.", audioCounter.Report());
  return 0;
}

int Pids(const char* file, bool analyzer, ULONG videoPid, ULONG audioPid, ULONG videoPid2,
         ULONG audioPid2) {
  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> push;
  CHECK("add push source", AddByClsid(graph.Get(), kTsSourceClsid, L"PUSHSOURCE", &push));
  ComPtr<IFileSourceFilter> load;
  CHECK("query IFileSourceFilter", push.As(&load));
  CHECK("Load", load->Load(Wide(file).c_str(), nullptr));
  ComPtr<IBaseFilter> demux;
  CHECK("add demultiplexer", AddByClsid(graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  CHECK("connect source to demultiplexer", ConnectFilters(graph.Get(), push.Get(), demux.Get()));
  ComPtr<IMpeg2Demultiplexer> pins;
  CHECK("query IMpeg2Demultiplexer", demux.As(&pins));

  BYTE videoBlock[136] = {};
  BYTE audioBlock[18] = {};
  AM_MEDIA_TYPE videoType = PlayerType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video,
                                       videoBlock, sizeof videoBlock);
  AM_MEDIA_TYPE audioType = PlayerType(MEDIATYPE_Audio, MEDIASUBTYPE_DOLBY_AC3, FORMAT_WaveFormatEx,
                                       audioBlock, sizeof audioBlock);
  ComPtr<IPin> videoPin, audioPin;
  wchar_t videoName[] = L"Video Pin";
  wchar_t audioName[] = L"Audio Pin";
  const HRESULT createdVideo = pins->CreateOutputPin(&videoType, videoName, &videoPin);
  PrintResult("create_video_pin", createdVideo);
  if (SUCCEEDED(createdVideo)) PrintResult("map_video", MapOne(videoPin.Get(), videoPid));
  const HRESULT createdAudio = pins->CreateOutputPin(&audioType, audioName, &audioPin);
  PrintResult("create_audio_pin", createdAudio);
  if (SUCCEEDED(createdAudio)) PrintResult("map_audio", MapOne(audioPin.Get(), audioPid));
  if (FAILED(createdVideo) || FAILED(createdAudio)) return 1;

  ComPtr<IBaseFilter> videoSink, audioSink;
  CHECK("create sinks", CountingSink::CreateInstance(&videoSink));
  CHECK("create sinks", CountingSink::CreateInstance(&audioSink));
  auto& videoCounter = static_cast<CountingSink*>(videoSink.Get())->Pin();
  auto& audioCounter = static_cast<CountingSink*>(audioSink.Get())->Pin();
  CHECK("add sinks", graph->AddFilter(videoSink.Get(), L"Video Sink"));
  CHECK("add sinks", graph->AddFilter(audioSink.Get(), L"Audio Sink"));
  ComPtr<IPin> videoIn, audioIn;
  CHECK("find sink pins", FindPin(videoSink.Get(), PINDIR_INPUT, &videoIn));
  CHECK("find sink pins", FindPin(audioSink.Get(), PINDIR_INPUT, &audioIn));
  if (analyzer) {
    ComPtr<IBaseFilter> vsa;
    CHECK("add analyser", AddByClsid(graph.Get(), CLSID_Mpeg2VideoStreamAnalyzer, L"VSA", &vsa));
    ComPtr<IPin> vsaIn, vsaOut;
    CHECK("find analyser pins", FindPin(vsa.Get(), PINDIR_INPUT, &vsaIn));
    CHECK("find analyser pins", FindPin(vsa.Get(), PINDIR_OUTPUT, &vsaOut));
    CHECK("connect video pin to analyser", graph->ConnectDirect(videoPin.Get(), vsaIn.Get(), nullptr));
    CHECK("connect analyser to sink", graph->ConnectDirect(vsaOut.Get(), videoIn.Get(), nullptr));
  } else {
    CHECK("connect video pin", graph->ConnectDirect(videoPin.Get(), videoIn.Get(), nullptr));
  }
  CHECK("connect audio pin", graph->ConnectDirect(audioPin.Get(), audioIn.Get(), nullptr));
  PrintPins("", demux.Get());

  ComPtr<IMediaControl> control;
  CHECK("query IMediaControl", graph.As(&control));
  ComPtr<IMediaSeeking> seeking;
  CHECK("query IMediaSeeking", push.As(&seeking));
  CHECK("Run", control->Run());
  Sleep(3000);
  CHECK("Stop", control->Stop());
  PrintReport("video.", videoCounter.Report());
  PrintReport("audio.", audioCounter.Report());
  if (videoPid2 != 0) {
    const int again = PlayAgain(videoPin.Get(), audioPin.Get(), videoPid, audioPid, videoPid2,
                                audioPid2, demux.Get(), seeking.Get(), control.Get(), videoCounter,
                                audioCounter);
    if (again != 0) return again;
  }
  PrintResult("delete_audio_pin", pins->DeleteOutputPin(audioName));
  PrintResult("delete_audio_pin_again", pins->DeleteOutputPin(audioName));
  PrintPins("deleted.", demux.Get());
  return 0;
}

struct Channel {
  long physical, major, minor;
};

// A tuning call's result; when it failed, `step` becomes its failure text.
HRESULT Tuned(const GraphOutcome& outcome, std::string& step) {
  if (outcome.Failed() && !outcome.messages.empty()) step = outcome.messages.front().text;
  return outcome.result;
}

// The tuner chain of the live graph, up to the demultiplexer and the TIF.
// `step` names what failed (for a tuning call, its failure text).
HRESULT BuildTunerChain(IGraphBuilder* graph, Channel channel, AtscTuning& tuning,
                        IBaseFilter** provider, IBaseFilter** capture, std::string& step) {
  ComPtr<IBaseFilter> tuner;
  step = "add network provider";
  RETURN_IF_FAILED(AddByClsid(graph, CLSID_ATSCNetworkProvider, L"ATSCNetwork", provider));
  step = "add tuner";
  RETURN_IF_FAILED(AddFirstDevice(graph, kBdaNetworkTunerCategory, L"BDATunerDemod", &tuner));
  step = "find tuning space";
  RETURN_IF_FAILED(Tuned(tuning.FindAtscTuningSpace(*provider), step));
  step = "tune";
  RETURN_IF_FAILED(Tuned(tuning.TuneChannel(channel.physical, channel.major, channel.minor), step));
  step = "connect provider to tuner";
  RETURN_IF_FAILED(ConnectFilters(graph, *provider, tuner.Get()));
  step = "add capture";
  RETURN_IF_FAILED(AddFirstDevice(graph, kBdaReceiverComponentCategory, L"TSCapture", capture));
  step = "connect tuner to capture";
  return ConnectFilters(graph, tuner.Get(), *capture);
}

int Live(double seconds, Channel first, Channel second) {
  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> provider, capture, demux, tif;
  AtscTuning tuning;
  std::string step;
  const HRESULT built = BuildTunerChain(graph.Get(), first, tuning, &provider, &capture, step);
  if (FAILED(built)) return Fail(step.c_str(), built);
  CHECK("add demultiplexer", AddByClsid(graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  CHECK("connect capture to demultiplexer", ConnectFilters(graph.Get(), capture.Get(), demux.Get()));
  CHECK("add TIF", AddByClsid(graph.Get(), kBdaTransportInformationFilterClsid, L"BDA TIF", &tif));
  CHECK("connect demultiplexer to TIF", ConnectFilters(graph.Get(), demux.Get(), tif.Get()));
  ComPtr<IBaseFilter> videoSink, audioSink;
  CHECK("create sinks", CountingSink::CreateInstance(&videoSink));
  CHECK("create sinks", CountingSink::CreateInstance(&audioSink));
  auto& videoCounter = static_cast<CountingSink*>(videoSink.Get())->Pin();
  auto& audioCounter = static_cast<CountingSink*>(audioSink.Get())->Pin();
  CHECK("add sinks", graph->AddFilter(videoSink.Get(), L"Video Sink"));
  CHECK("add sinks", graph->AddFilter(audioSink.Get(), L"Audio Sink"));
  CHECK("connect demultiplexer to video sink", ConnectFilters(graph.Get(), demux.Get(), videoSink.Get()));
  CHECK("connect demultiplexer to audio sink", ConnectFilters(graph.Get(), demux.Get(), audioSink.Get()));
  PrintPins("", demux.Get());

  ComPtr<IMediaControl> control;
  CHECK("query IMediaControl", graph.As(&control));
  const DWORD half = static_cast<DWORD>(seconds * 500);
  CHECK("Run", control->Run());
  Sleep(half);
  PrintPins("first.", demux.Get());
  PrintReport("first.video.", videoCounter.Report());
  PrintReport("first.audio.", audioCounter.Report());
  step = "tune";
  const HRESULT retuned =
      Tuned(tuning.TuneChannel(second.physical, second.major, second.minor), step);
  if (FAILED(retuned)) return Fail(step.c_str(), retuned);
  videoCounter.Clear();
  audioCounter.Clear();
  Sleep(half);
  PrintPins("second.", demux.Get());
  PrintReport("second.video.", videoCounter.Report());
  PrintReport("second.audio.", audioCounter.Report());
  CHECK("Stop", control->Stop());
  return 0;
}

int Record(const char* out, double seconds, Channel first, const Channel* second) {
  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> provider, capture, tee, dump, demux, tif;
  AtscTuning tuning;
  std::string step;
  const HRESULT built = BuildTunerChain(graph.Get(), first, tuning, &provider, &capture, step);
  if (FAILED(built)) return Fail(step.c_str(), built);
  CHECK("add tee", AddByClsid(graph.Get(), CLSID_InfTee, L"Tee", &tee));
  CHECK("connect capture to tee", ConnectFilters(graph.Get(), capture.Get(), tee.Get()));
  CHECK("add dump", AddByClsid(graph.Get(), kTsSinkClsid, L"Dump", &dump));
  CHECK("connect tee to dump", ConnectFilters(graph.Get(), tee.Get(), dump.Get()));
  CHECK("add demultiplexer", AddByClsid(graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  CHECK("connect tee to demultiplexer", ConnectFilters(graph.Get(), tee.Get(), demux.Get()));
  CHECK("add TIF", AddByClsid(graph.Get(), kBdaTransportInformationFilterClsid, L"BDA TIF", &tif));
  CHECK("connect demultiplexer to TIF", ConnectFilters(graph.Get(), demux.Get(), tif.Get()));
  ComPtr<IFileSinkFilter> sink;
  CHECK("query IFileSinkFilter", dump.As(&sink));
  CHECK("SetFileName", sink->SetFileName(Wide(out).c_str(), nullptr));
  PrintPins("tee.", tee.Get());
  PrintPins("demux.", demux.Get());

  ComPtr<IMediaControl> control;
  CHECK("query IMediaControl", graph.As(&control));
  CHECK("Run", control->Run());
  const DWORD half = static_cast<DWORD>(seconds * 500);
  Sleep(half);
  PrintPins("running.", demux.Get());
  if (second != nullptr) {
    step = "tune";
    const HRESULT retuned =
        Tuned(tuning.TuneChannel(second->physical, second->major, second->minor), step);
    if (FAILED(retuned)) return Fail(step.c_str(), retuned);
  }
  Sleep(half);
  PrintPins("end.", demux.Get());
  const HRESULT signal = tuning.ReadSignalStrength();
  PrintResult("signal_result", signal);
  std::printf("signal=%ld\n", SUCCEEDED(signal) ? tuning.SignalStrength() : 0L);
  CHECK("Stop", control->Stop());
  return 0;
}

int Render(double seconds, Channel channel) {
  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> provider, capture, demux, tif, vmr, sound;
  AtscTuning tuning;
  std::string step;
  const HRESULT built = BuildTunerChain(graph.Get(), channel, tuning, &provider, &capture, step);
  if (FAILED(built)) return Fail(step.c_str(), built);
  CHECK("add demultiplexer", AddByClsid(graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  CHECK("connect capture to demultiplexer", ConnectFilters(graph.Get(), capture.Get(), demux.Get()));
  CHECK("add TIF", AddByClsid(graph.Get(), kBdaTransportInformationFilterClsid, L"BDA TIF", &tif));
  CHECK("connect demultiplexer to TIF", ConnectFilters(graph.Get(), demux.Get(), tif.Get()));
  CHECK("add VMR", AddByClsid(graph.Get(), CLSID_VideoMixingRenderer, L"VMR", &vmr));
  CHECK("connect demultiplexer to VMR", ConnectFilters(graph.Get(), demux.Get(), vmr.Get()));
  CHECK("add sound", AddByClsid(graph.Get(), CLSID_DSoundRender, L"Sound", &sound));
  CHECK("connect demultiplexer to sound", ConnectFilters(graph.Get(), demux.Get(), sound.Get()));
  PrintPins("", demux.Get());
  ComPtr<IMediaControl> control;
  CHECK("query IMediaControl", graph.As(&control));
  ComPtr<IMediaEvent> events;
  CHECK("query IMediaEvent", graph.As(&events));
  CHECK("Run", control->Run());
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
  long errors = 0;
  while (static_cast<long>(deadline - GetTickCount()) > 0) {
    long code;
    LONG_PTR p1, p2;
    if (events->GetEvent(&code, &p1, &p2, 100) == S_OK) {
      if (code == EC_ERRORABORT || code == EC_STREAM_ERROR_STOPPED) {
        ++errors;
        std::printf("event=0x%lX 0x%08lX\n", code, static_cast<unsigned long>(p1));
      }
      events->FreeEventParams(code, p1, p2);
    }
  }
  std::printf("errors=%ld\n", errors);
  ComPtr<IQualProp> quality;
  int drawn = -1, dropped = -1;
  if (SUCCEEDED(vmr.As(&quality))) {
    quality->get_FramesDrawn(&drawn);
    quality->get_FramesDroppedInRenderer(&dropped);
  }
  std::printf("frames_drawn=%d\nframes_dropped=%d\n", drawn, dropped);
  CHECK("Stop", control->Stop());
  return 0;
}

int Create() {
  const struct {
    const char* name;
    const CLSID* clsid;
  } filters[] = {{"create.demux", &CLSID_MPEG2Demultiplexer},
                 {"create.tif", &kBdaTransportInformationFilterClsid},
                 {"create.analyzer", &CLSID_Mpeg2VideoStreamAnalyzer},
                 {"create.inftee", &CLSID_InfTee}};
  for (const auto& filter : filters) {
    ComPtr<IBaseFilter> created;
    PrintResult(filter.name, CoCreateInstance(*filter.clsid, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_PPV_ARGS(&created)));
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: standindemux pids [--analyzer] FILE VPID APID [VPID2 APID2]\n"
               "       standindemux record OUT SECONDS PHYS MAJOR MINOR [PHYS2 MAJOR2 MINOR2]\n"
               "       standindemux live SECONDS PHYS MAJOR MINOR PHYS2 MAJOR2 MINOR2\n"
               "       standindemux render SECONDS PHYS MAJOR MINOR\n"
               "       standindemux create\n");
  return 2;
}

ULONG Number(const char* text) { return static_cast<ULONG>(std::strtoul(text, nullptr, 0)); }
long Signed(const char* text) { return std::strtol(text, nullptr, 0); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  ComScope com(COINIT_MULTITHREADED);
  if (!com.Succeeded()) return Fail("CoInitializeEx", com.Result());
  if (command == "pids") {
    const bool analyzer = argc > 2 && std::strcmp(argv[2], "--analyzer") == 0;
    const int first = analyzer ? 3 : 2;
    const int rest = argc - first;
    if (rest != 3 && rest != 5) return Usage();
    return Pids(argv[first], analyzer, Number(argv[first + 1]), Number(argv[first + 2]),
                rest == 5 ? Number(argv[first + 3]) : 0, rest == 5 ? Number(argv[first + 4]) : 0);
  }
  if (command == "record" && (argc == 7 || argc == 10)) {
    const Channel first{Signed(argv[4]), Signed(argv[5]), Signed(argv[6])};
    const Channel second = argc == 10 ? Channel{Signed(argv[7]), Signed(argv[8]), Signed(argv[9])}
                                      : Channel{};
    return Record(argv[2], std::strtod(argv[3], nullptr), first, argc == 10 ? &second : nullptr);
  }
  if (command == "live" && argc == 9) {
    return Live(std::strtod(argv[2], nullptr), {Signed(argv[3]), Signed(argv[4]), Signed(argv[5])},
                {Signed(argv[6]), Signed(argv[7]), Signed(argv[8])});
  }
  if (command == "render" && argc == 6) {
    return Render(std::strtod(argv[2], nullptr), {Signed(argv[3]), Signed(argv[4]), Signed(argv[5])});
  }
  if (command == "create" && argc == 2) return Create();
  return Usage();
}
