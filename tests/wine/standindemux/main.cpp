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
//   standindemux connect-major
//       the graph toolkit's choice of pins by major type, as the sink graph
//       connects: a demultiplexer with an audio pin made before a video pin,
//       joined to counting sinks by ConnectFilters with the video type
//       ("video_only=PIN"), with it again once no video pin is free
//       ("video_again=RESULT MESSAGE"), and with no type ("any=PIN")
// Exit status: 0 done, 1 a step failed (named on stderr), 2 bad usage.

#include "graph/GraphToolkit.h"
#include "graph/PlayerPinTypes.h"
#include "tests/wine/shared/CountingSink.h"
#include "tests/wine/shared/GraphTestProgram.h"
#include "tests/wine/shared/TunerChain.h"
#include "win/ComScope.h"
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
  CHECK("create graph", NewGraph(&graph));
  ComPtr<IBaseFilter> push;
  CHECK("add push source", AddByClsid(graph.Get(), kTsSourceClsid, L"PUSHSOURCE", &push));
  ComPtr<IFileSourceFilter> load;
  CHECK("query IFileSourceFilter", push.As(&load));
  CHECK("Load", load->Load(Wide(file).c_str(), nullptr));
  ComPtr<IBaseFilter> demux;
  CHECK("add demultiplexer", AddByClsid(graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  CHECK("connect source to demultiplexer",
        ConnectFilters(graph.Get(), push.Get(), demux.Get(), Join::Intelligent));
  ComPtr<IMpeg2Demultiplexer> pins;
  CHECK("query IMpeg2Demultiplexer", demux.As(&pins));

  // The media types the TS player gives its two pins (the test stream's
  // audio is AC-3).
  PlayerPinTypes types(AudioCoding::Ac3);
  ComPtr<IPin> videoPin, audioPin;
  wchar_t videoName[] = L"Video Pin";
  wchar_t audioName[] = L"Audio Pin";
  const HRESULT createdVideo = pins->CreateOutputPin(&types.video, videoName, &videoPin);
  PrintResult("create_video_pin", createdVideo);
  if (SUCCEEDED(createdVideo)) PrintResult("map_video", MapOne(videoPin.Get(), videoPid));
  const HRESULT createdAudio = pins->CreateOutputPin(&types.audio, audioName, &audioPin);
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

int Live(double seconds, Channel first, Channel second) {
  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", NewGraph(&graph));
  AtscTuning tuning;
  TunerChain chain;
  std::string step;
  const HRESULT built = BuildLiveChain(graph.Get(), first, Join::Intelligent, tuning, chain, step);
  if (FAILED(built)) return Fail(step.c_str(), built);
  const ComPtr<IBaseFilter>& demux = chain.demux;
  ComPtr<IBaseFilter> videoSink, audioSink;
  CHECK("create sinks", CountingSink::CreateInstance(&videoSink));
  CHECK("create sinks", CountingSink::CreateInstance(&audioSink));
  auto& videoCounter = static_cast<CountingSink*>(videoSink.Get())->Pin();
  auto& audioCounter = static_cast<CountingSink*>(audioSink.Get())->Pin();
  CHECK("add sinks", graph->AddFilter(videoSink.Get(), L"Video Sink"));
  CHECK("add sinks", graph->AddFilter(audioSink.Get(), L"Audio Sink"));
  CHECK("connect demultiplexer to video sink",
        ConnectFilters(graph.Get(), demux.Get(), videoSink.Get(), Join::Intelligent));
  CHECK("connect demultiplexer to audio sink",
        ConnectFilters(graph.Get(), demux.Get(), audioSink.Get(), Join::Intelligent));
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
  CHECK("create graph", NewGraph(&graph));
  AtscTuning tuning;
  TunerChain chain;
  std::string step;
  const HRESULT built = BuildTunerChain(graph.Get(), first, Join::Intelligent, tuning, chain, step);
  if (FAILED(built)) return Fail(step.c_str(), built);
  const ComPtr<IBaseFilter>& capture = chain.capture;
  ComPtr<IBaseFilter> tee, dump, demux, tif;
  CHECK("add tee", AddByClsid(graph.Get(), CLSID_InfTee, L"Tee", &tee));
  CHECK("connect capture to tee",
        ConnectFilters(graph.Get(), capture.Get(), tee.Get(), Join::Intelligent));
  CHECK("add dump", AddByClsid(graph.Get(), kTsSinkClsid, L"Dump", &dump));
  CHECK("connect tee to dump",
        ConnectFilters(graph.Get(), tee.Get(), dump.Get(), Join::Intelligent));
  CHECK("add demultiplexer", AddByClsid(graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  CHECK("connect tee to demultiplexer",
        ConnectFilters(graph.Get(), tee.Get(), demux.Get(), Join::Intelligent));
  CHECK("add TIF", AddByClsid(graph.Get(), kBdaTransportInformationFilterClsid, L"BDA TIF", &tif));
  CHECK("connect demultiplexer to TIF",
        ConnectFilters(graph.Get(), demux.Get(), tif.Get(), Join::Intelligent));
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
  CHECK("create graph", NewGraph(&graph));
  AtscTuning tuning;
  TunerChain chain;
  std::string step;
  const HRESULT built = BuildLiveChain(graph.Get(), channel, Join::Intelligent, tuning, chain, step);
  if (FAILED(built)) return Fail(step.c_str(), built);
  const ComPtr<IBaseFilter>& demux = chain.demux;
  ComPtr<IBaseFilter> vmr, sound;
  CHECK("add VMR", AddByClsid(graph.Get(), CLSID_VideoMixingRenderer, L"VMR", &vmr));
  CHECK("connect demultiplexer to VMR",
        ConnectFilters(graph.Get(), demux.Get(), vmr.Get(), Join::Intelligent));
  CHECK("add sound", AddByClsid(graph.Get(), CLSID_DSoundRender, L"Sound", &sound));
  CHECK("connect demultiplexer to sound",
        ConnectFilters(graph.Get(), demux.Get(), sound.Get(), Join::Intelligent));
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

// The name of the output pin that feeds `sink`, or "none".
std::string FeedingPin(IBaseFilter* sink) {
  ComPtr<IEnumPins> pins;
  ComPtr<IPin> input, output;
  PIN_INFO info{};
  if (FAILED(sink->EnumPins(&pins)) || pins->Next(1, &input, nullptr) != S_OK ||
      FAILED(input->ConnectedTo(&output)) || FAILED(output->QueryPinInfo(&info))) {
    return "none";
  }
  if (info.pFilter != nullptr) info.pFilter->Release();
  return Narrow(info.achName);
}

int ConnectMajor() {
  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", NewGraph(&graph));
  ComPtr<IBaseFilter> demux;
  CHECK("add demultiplexer", AddByClsid(graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  ComPtr<IMpeg2Demultiplexer> pins;
  CHECK("query IMpeg2Demultiplexer", demux.As(&pins));
  PlayerPinTypes types(AudioCoding::Ac3);
  ComPtr<IPin> videoPin, audioPin;
  wchar_t audioName[] = L"Audio Pin";
  wchar_t videoName[] = L"Video Pin";
  CHECK("create audio pin", pins->CreateOutputPin(&types.audio, audioName, &audioPin));
  CHECK("create video pin", pins->CreateOutputPin(&types.video, videoName, &videoPin));
  ComPtr<IBaseFilter> first, second;
  CHECK("create sinks", CountingSink::CreateInstance(&first));
  CHECK("create sinks", CountingSink::CreateInstance(&second));
  CHECK("add sinks", graph->AddFilter(first.Get(), L"First"));
  CHECK("add sinks", graph->AddFilter(second.Get(), L"Second"));

  const GraphOutcome videoOnly = ConnectFilters(graph.Get(), demux.Get(), first.Get(), &MEDIATYPE_Video);
  std::printf("video_only=%s\n", videoOnly.Failed() ? "failed" : FeedingPin(first.Get()).c_str());
  const GraphOutcome again = ConnectFilters(graph.Get(), demux.Get(), second.Get(), &MEDIATYPE_Video);
  std::printf("video_again=0x%08lX %s\n", static_cast<unsigned long>(again.result),
              again.messages.empty() ? "" : again.messages.front().text.c_str());
  const GraphOutcome any = ConnectFilters(graph.Get(), demux.Get(), second.Get());
  std::printf("any=%s\n", any.Failed() ? "failed" : FeedingPin(second.Get()).c_str());
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: standindemux pids [--analyzer] FILE VPID APID [VPID2 APID2]\n"
               "       standindemux record OUT SECONDS PHYS MAJOR MINOR [PHYS2 MAJOR2 MINOR2]\n"
               "       standindemux live SECONDS PHYS MAJOR MINOR PHYS2 MAJOR2 MINOR2\n"
               "       standindemux render SECONDS PHYS MAJOR MINOR\n"
               "       standindemux create\n"
               "       standindemux connect-major\n");
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
  if (command == "connect-major" && argc == 2) return ConnectMajor();
  return Usage();
}
