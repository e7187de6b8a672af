// standindecoders: drives the test decoders and the VMR-7 wrapper for the
// Wine tests. Each command prints "name=value" lines on standard output.
//
//   standindecoders list      the decoders the system check would list
//   standindecoders probe     creation and aspect-ratio calls, with results
//   standindecoders play FILE SECONDS [--push] [--intelligent] [--no-audio]
//                             [--video-pid PID] [--audio-pid PID]
//       test source (the PES units of FILE), or with --push the push source
//       and the demultiplexer with pins made and mapped as the TS player
//       does, -> video decoder -> VMR-7 windowless in a top-level 640 x 480
//       window, and -> AC-3 decoder -> DirectSound renderer. The decoders are
//       added by friendly name as decoders.txt names them; with --intelligent
//       the source is connected straight to the renderers and the graph
//       inserts the decoders. Half way the window is painted over and the
//       renderer asked to repaint ("repaint=RESULT").
//   standindecoders live SECONDS PHYS MAJOR MINOR [PHYS2 MAJOR2 MINOR2]
//                        [--intelligent]
//       the live graph: network provider, tuner, capture, demultiplexer,
//       TIF, tuned through the tuning objects as the viewer does, then the
//       decoders and renderers as above; tunes the second channel half way
//       ("tuned second").
// Both print the decoders' counters every second while the graph runs
// ("counters t=N ...").
// Exit status: 0 done, 1 a call failed (message on stderr), 2 bad usage.

#include "graph/AtscTuning.h"
#include "win/ComScope.h"
#include "ElementaryUnits.h"
#include "GraphHelpers.h"
#include "tests/wine/shared/GraphTestProgram.h"
#include "win/HResultMacros.h"
#include "win/UniqueHandle.h"
#include "win/InterfaceIds.h"
#include "TestSourceFilter.h"

#include <bdaiface.h>
#include <dshow.h>
#include <uuids.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using Microsoft::WRL::ComPtr;

const char kTestProgramName[] = "standindecoders";

namespace {

constexpr CLSID kVideoDecoderClsid = {
    0x6f1d3a52, 0x8c47, 0x4e0b, {0xa9, 0xd3, 0x2b, 0x7e, 0x5c, 0x91, 0x4a, 0x61}};
constexpr CLSID kAudioDecoderClsid = {
    0x6f1d3a53, 0x8c47, 0x4e0b, {0xa9, 0xd3, 0x2b, 0x7e, 0x5c, 0x91, 0x4a, 0x61}};
constexpr wchar_t kVideoDecoderName[] = L"Telvantis Test MPEG-2 Video Decoder";
constexpr wchar_t kAudioDecoderName[] = L"Telvantis Test AC-3 Audio Decoder";
constexpr wchar_t kWindowClass[] = L"StandinDecodersVideo";
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;

// The first text of a failed tuning call, as the viewer would show it.
const char* FailureText(const GraphOutcome& outcome) {
  return outcome.messages.empty() ? "tuning" : outcome.messages.front().text.c_str();
}

// The system check's query: exact match, merit at least normal, an input of
// the given type, an output of the given major type with any subtype.
int ListMatching(const char* label, const GUID& inMajor, const GUID& inSub, const GUID& outMajor) {
  ComPtr<IFilterMapper2> mapper;
  CHECK("create filter mapper", CoCreateInstance(CLSID_FilterMapper2, nullptr,
                                                 CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&mapper)));
  GUID input[2] = {inMajor, inSub};
  GUID output[2] = {outMajor, GUID_NULL};
  ComPtr<IEnumMoniker> monikers;
  CHECK("EnumMatchingFilters",
        mapper->EnumMatchingFilters(&monikers, 0, TRUE, MERIT_NORMAL, TRUE, 1, input, nullptr,
                                    nullptr, FALSE, TRUE, 1, output, nullptr, nullptr));
  ComPtr<IMoniker> moniker;
  while (monikers && monikers->Next(1, &moniker, nullptr) == S_OK) {
    ComPtr<IPropertyBag> bag;
    UniqueVariant name;
    if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag))) &&
        SUCCEEDED(bag->Read(L"FriendlyName", name.Put(), nullptr)) && name->vt == VT_BSTR) {
      std::printf("%s=%s\n", label, Narrow(name->bstrVal).c_str());
    }
    moniker.Reset();
  }
  return 0;
}

int List() {
  if (int status = ListMatching("video", MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO,
                                MEDIATYPE_Video)) {
    return status;
  }
  return ListMatching("audio", MEDIATYPE_Audio, MEDIASUBTYPE_DOLBY_AC3, MEDIATYPE_Audio);
}

int Probe() {
  ComPtr<IBaseFilter> filter;
  PrintResult("video-create", CoCreateInstance(kVideoDecoderClsid, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&filter)));
  filter.Reset();
  PrintResult("audio-create", CoCreateInstance(kAudioDecoderClsid, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&filter)));
  filter.Reset();
  ComPtr<IBaseFilter> vmr;
  const HRESULT created = CoCreateInstance(CLSID_VideoMixingRenderer, nullptr,
                                           CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&vmr));
  PrintResult("vmr-create", created);
  if (FAILED(created)) return 0;
  CLSID clsid{};
  vmr->GetClassID(&clsid);
  std::printf("vmr-class-is-vmr7=%d\n", clsid == CLSID_VideoMixingRenderer ? 1 : 0);
  ComPtr<IVMRAspectRatioControl> aspect;
  const HRESULT queried = vmr.As(&aspect);
  PrintResult("aspect-query", queried);
  if (SUCCEEDED(queried)) {
    PrintResult("aspect-set", aspect->SetAspectRatioMode(VMR_ARMODE_LETTER_BOX));
    DWORD mode = 99;
    aspect->GetAspectRatioMode(&mode);
    std::printf("aspect-mode=%lu\n", static_cast<unsigned long>(mode));
    PrintResult("aspect-set-invalid", aspect->SetAspectRatioMode(7));
  }
  // The same object whichever interface it is reached through.
  ComPtr<IUnknown> one, two;
  vmr.As(&one);  // a failure leaves it empty, which the line below reports
  if (aspect) aspect.As(&two);
  std::printf("vmr-identity=%d\n", one && one.Get() == two.Get() ? 1 : 0);
  return 0;
}

HWND CreateVideoWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kWindowClass;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassW(&windowClass);
  // A top-level window: Wine's VMR-7 shows nothing in a child window.
  return CreateWindowExW(0, kWindowClass, L"Standin Decoders Test", WS_POPUP | WS_VISIBLE, 40, 40,
                         kWindowWidth, kWindowHeight, nullptr, nullptr, windowClass.hInstance,
                         nullptr);
}

std::string ReadCounterText(HKEY key, const char* name) {
  char value[128] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(key, nullptr, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
    return "";
  }
  return value;
}

DWORD ReadCounter(HKEY key, const char* name) {
  DWORD value = 0, size = sizeof value;
  RegGetValueA(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

void PrintCounters(int second) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Telvantis Standin\\Decoders", 0, KEY_READ,
                    &key) != ERROR_SUCCESS) {
    std::printf("counters t=%d none\n", second);
    return;
  }
  std::printf("counters t=%d video=%lu audio=%lu clock=%s size=%s program=%s\n", second,
              static_cast<unsigned long>(ReadCounter(key, "VideoFrames")),
              static_cast<unsigned long>(ReadCounter(key, "AudioFrames")),
              ReadCounterText(key, "VideoClock").c_str(), ReadCounterText(key, "VideoSize").c_str(),
              ReadCounterText(key, "VideoProgram").c_str());
  RegCloseKey(key);
}

// The renderer set-up of the live graph and the players: windowless, the
// clipping window, letter-box mode.
struct Renderers {
  HWND window = nullptr;
  ComPtr<IBaseFilter> vmr;
  ComPtr<IVMRWindowlessControl> windowless;
  ComPtr<IBaseFilter> sound;
};

int SetUpVideoRenderer(IGraphBuilder* graph, Renderers& renderers) {
  renderers.window = CreateVideoWindow();
  if (renderers.window == nullptr) return Fail("create window", HRESULT_FROM_WIN32(GetLastError()));
  CHECK("add VMR", AddByClsid(graph, CLSID_VideoMixingRenderer, L"VMR", &renderers.vmr));
  ComPtr<IVMRFilterConfig> config;
  CHECK("query IVMRFilterConfig",
        renderers.vmr.As(&config));
  CHECK("set windowless", config->SetRenderingMode(VMRMode_Windowless));
  CHECK("query IVMRWindowlessControl",
        renderers.vmr.As(&renderers.windowless));
  CHECK("set clipping window", renderers.windowless->SetVideoClippingWindow(renderers.window));
  ComPtr<IVMRAspectRatioControl> aspect;
  CHECK("query IVMRAspectRatioControl",
        renderers.vmr.As(&aspect));
  CHECK("set letter box", aspect->SetAspectRatioMode(VMR_ARMODE_LETTER_BOX));
  return 0;
}

// Decoders and renderers behind `upstream` (the source or the demultiplexer):
// by friendly name as decoders.txt names them, or, intelligent, with the
// renderers connected straight to it.
int ConnectDecoders(IGraphBuilder* graph, IBaseFilter* upstream, bool intelligent, bool audio,
                    Renderers& renderers) {
  ComPtr<IBaseFilter> videoDecoder, audioDecoder;
  if (!intelligent) {
    CHECK("add video decoder", AddByFriendlyName(graph, CLSID_LegacyAmFilterCategory,
                                                 kVideoDecoderName, L"Video Decoder",
                                                 &videoDecoder));
    CHECK("connect to video decoder", ConnectFilters(graph, upstream, videoDecoder.Get()));
    if (audio) {
      CHECK("add audio decoder", AddByFriendlyName(graph, CLSID_LegacyAmFilterCategory,
                                                   kAudioDecoderName, L"Audio Decoder",
                                                   &audioDecoder));
      CHECK("connect to audio decoder", ConnectFilters(graph, upstream, audioDecoder.Get()));
    }
  }
  if (int status = SetUpVideoRenderer(graph, renderers)) return status;
  CHECK("connect to VMR",
        ConnectFilters(graph, intelligent ? upstream : videoDecoder.Get(), renderers.vmr.Get()));
  if (audio) {
    CHECK("add sound renderer", AddByClsid(graph, CLSID_DSoundRender, L"Sound", &renderers.sound));
    CHECK("connect to sound",
          ConnectFilters(graph, intelligent ? upstream : audioDecoder.Get(), renderers.sound.Get()));
  }
  PrintFilters(graph);
  return 0;
}

// Letter-boxed into the whole window, as the viewer's 16:9 mode asks.
int PlaceVideo(Renderers& renderers) {
  LONG width = 0, height = 0, aspectX = 0, aspectY = 0;
  CHECK("native size",
        renderers.windowless->GetNativeVideoSize(&width, &height, &aspectX, &aspectY));
  std::printf("native=%ldx%ld aspect=%ld:%ld\n", width, height, aspectX, aspectY);
  RECT client{};
  GetClientRect(renderers.window, &client);
  CHECK("set video position", renderers.windowless->SetVideoPosition(nullptr, &client));
  RECT src{}, dst{};
  CHECK("get video position", renderers.windowless->GetVideoPosition(&src, &dst));
  std::printf("position=%ld,%ld,%ld,%ld\n", dst.left, dst.top, dst.right, dst.bottom);
  return 0;
}

// Runs the graph for `seconds`, pumping the window's messages and printing
// the counters each second; `halfway` runs once at half time.
template <typename Halfway>
int RunFor(IGraphBuilder* graph, int seconds, Halfway halfway) {
  ComPtr<IMediaControl> control;
  CHECK("query IMediaControl", ComPtr<IGraphBuilder>(graph).As(&control));
  CHECK("run", control->Run());
  std::printf("running\n");
  const ULONGLONG begin = GetTickCount64();
  const ULONGLONG end = begin + static_cast<ULONGLONG>(seconds) * 1000;
  ULONGLONG nextPrint = begin + 1000;
  bool halfDone = false;
  int second = 1;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE,
                              static_cast<DWORD>(std::min(end, nextPrint) - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (GetTickCount64() >= nextPrint) {
      PrintCounters(second++);
      nextPrint += 1000;
      if (!halfDone && 2 * (second - 1) >= seconds) {
        halfDone = true;
        if (int status = halfway()) return status;
      }
    }
  }
  CHECK("stop", control->Stop());
  std::printf("stopped\n");
  PrintCounters(seconds + 1);
  return 0;
}

struct PlayOptions {
  bool push = false;
  bool intelligent = false;
  bool audio = true;
  unsigned videoPid = 0x31;
  unsigned audioPid = 0x34;
};

// The TS player's source side: push source, demultiplexer, "Video Pin" and
// "Audio Pin" with format blocks of zeros, each mapped to one PID.
int AddPushSource(IGraphBuilder* graph, const std::string& file, const PlayOptions& options,
                  IBaseFilter** demuxOut) {
  ComPtr<IBaseFilter> source, demux;
  CHECK("add push source", AddByClsid(graph, kTsSourceClsid, L"PUSHSOURCE", &source));
  ComPtr<IFileSourceFilter> fileSource;
  CHECK("query IFileSourceFilter", source.As(&fileSource));
  const std::wstring wide(file.begin(), file.end());
  CHECK("load", fileSource->Load(wide.c_str(), nullptr));
  CHECK("add demultiplexer", AddByClsid(graph, CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  CHECK("connect push source", ConnectFilters(graph, source.Get(), demux.Get()));
  ComPtr<IMpeg2Demultiplexer> pins;
  CHECK("query IMpeg2Demultiplexer", demux.As(&pins));

  BYTE videoFormat[136] = {};
  AM_MEDIA_TYPE video{};
  video.majortype = MEDIATYPE_Video;
  video.subtype = MEDIASUBTYPE_MPEG2_VIDEO;
  video.formattype = FORMAT_MPEG2Video;
  video.cbFormat = sizeof videoFormat;
  video.pbFormat = videoFormat;
  BYTE audioFormat[18] = {};
  AM_MEDIA_TYPE audio{};
  audio.majortype = MEDIATYPE_Audio;
  audio.subtype = MEDIASUBTYPE_DOLBY_AC3;
  audio.formattype = FORMAT_WaveFormatEx;
  audio.cbFormat = sizeof audioFormat;
  audio.pbFormat = audioFormat;

  struct PinPlan {
    AM_MEDIA_TYPE* type;
    const wchar_t* name;
    ULONG pid;
    bool wanted;
  };
  for (const PinPlan& plan : {PinPlan{&video, L"Video Pin", options.videoPid, true},
                              PinPlan{&audio, L"Audio Pin", options.audioPid, options.audio}}) {
    if (!plan.wanted) continue;
    ComPtr<IPin> pin;
    CHECK("create output pin",
          pins->CreateOutputPin(plan.type, const_cast<LPWSTR>(plan.name), &pin));
    ComPtr<IMPEG2PIDMap> map;
    CHECK("query IMPEG2PIDMap", pin.As(&map));
    ULONG pid = plan.pid;
    CHECK("map PID", map->MapPID(1, &pid, MEDIA_ELEMENTARY_STREAM));
  }
  return demux.CopyTo(demuxOut) == S_OK ? 0 : 1;
}

int Play(int argc, char** argv) {
  if (argc < 4) return 2;
  const std::string file = argv[2];
  const int seconds = std::atoi(argv[3]);
  PlayOptions options;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--push") == 0) options.push = true;
    else if (std::strcmp(argv[i], "--intelligent") == 0) options.intelligent = true;
    else if (std::strcmp(argv[i], "--no-audio") == 0) options.audio = false;
    else if (std::strcmp(argv[i], "--video-pid") == 0 && i + 1 < argc) options.videoPid = std::strtoul(argv[++i], nullptr, 0);
    else if (std::strcmp(argv[i], "--audio-pid") == 0 && i + 1 < argc) options.audioPid = std::strtoul(argv[++i], nullptr, 0);
    else return 2;
  }

  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> upstream;
  if (options.push) {
    if (int status = AddPushSource(graph.Get(), file, options, &upstream)) return status;
  } else {
    auto videoUnits = ReadElementaryUnits(file, static_cast<std::uint16_t>(options.videoPid));
    auto audioUnits = options.audio
                          ? ReadElementaryUnits(file, static_cast<std::uint16_t>(options.audioPid))
                          : std::vector<ElementaryUnit>{};
    std::printf("units video=%zu audio=%zu\n", videoUnits.size(), audioUnits.size());
    if (videoUnits.empty()) return Fail("read video units", E_FAIL);
    CHECK("create source", TestSourceFilter::Create(std::move(videoUnits),
                                                    std::move(audioUnits), &upstream));
    CHECK("add source", graph->AddFilter(upstream.Get(), L"Source"));
  }
  Renderers renderers;
  if (int status = ConnectDecoders(graph.Get(), upstream.Get(), options.intelligent,
                                   options.audio, renderers)) {
    return status;
  }
  if (int status = PlaceVideo(renderers)) return status;
  // Half way the window is painted over, as when it is uncovered, and asks
  // the renderer to repaint: the letter-box bars come back.
  return RunFor(graph.Get(), seconds, [&renderers] {
    InvalidateRect(renderers.window, nullptr, TRUE);
    UpdateWindow(renderers.window);
    HDC dc = GetDC(renderers.window);
    PrintResult("repaint", renderers.windowless->RepaintVideo(renderers.window, dc));
    ReleaseDC(renderers.window, dc);
    return 0;
  });
}

int Live(int argc, char** argv) {
  if (argc < 6) return 2;
  const int seconds = std::atoi(argv[2]);
  const long first[3] = {std::atol(argv[3]), std::atol(argv[4]), std::atol(argv[5])};
  long second[3] = {0, 0, 0};
  bool retune = false, intelligent = false;
  for (int i = 6; i < argc; ++i) {
    if (std::strcmp(argv[i], "--intelligent") == 0) {
      intelligent = true;
    } else if (i + 2 < argc) {
      for (long& value : second) value = std::atol(argv[i++]);
      --i;
      retune = true;
    } else {
      return 2;
    }
  }

  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> provider, tuner, capture, demux, tif;
  CHECK("add network provider",
        AddByClsid(graph.Get(), CLSID_ATSCNetworkProvider, L"ATSCNetwork", &provider));
  CHECK("add tuner",
        AddFirstDevice(graph.Get(), kBdaNetworkTunerCategory, L"BDATunerDemod", &tuner));
  AtscTuning tuning;
  const GraphOutcome found = tuning.FindAtscTuningSpace(provider.Get());
  if (found.Failed()) return Fail(FailureText(found), found.result);
  const GraphOutcome tuned = tuning.TuneChannel(first[0], first[1], first[2]);
  if (tuned.Failed()) return Fail(FailureText(tuned), tuned.result);
  CHECK("connect provider to tuner", ConnectFilters(graph.Get(), provider.Get(), tuner.Get()));
  CHECK("add capture",
        AddFirstDevice(graph.Get(), kBdaReceiverComponentCategory, L"TSCapture", &capture));
  CHECK("connect tuner to capture", ConnectFilters(graph.Get(), tuner.Get(), capture.Get()));
  CHECK("add demultiplexer", AddByClsid(graph.Get(), CLSID_MPEG2Demultiplexer, L"Demux", &demux));
  CHECK("connect capture to demultiplexer",
        ConnectFilters(graph.Get(), capture.Get(), demux.Get()));
  CHECK("add TIF", AddByClsid(graph.Get(), kBdaTransportInformationFilterClsid, L"BDA TIF", &tif));
  CHECK("connect demultiplexer to TIF", ConnectFilters(graph.Get(), demux.Get(), tif.Get()));

  Renderers renderers;
  if (int status = ConnectDecoders(graph.Get(), demux.Get(), intelligent, true, renderers)) {
    return status;
  }
  if (int status = PlaceVideo(renderers)) return status;
  std::printf("tuned first\n");
  return RunFor(graph.Get(), seconds, [&]() -> int {
    if (!retune) return 0;
    const GraphOutcome retuned = tuning.TuneChannel(second[0], second[1], second[2]);
    if (retuned.Failed()) return Fail(FailureText(retuned), retuned.result);
    std::printf("tuned second\n");
    return 0;
  });
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) return 2;
  ComScope com;
  if (!com.Succeeded()) return Fail("CoInitializeEx", com.Result());
  const std::string command = argv[1];
  if (command == "list") return List();
  if (command == "probe") return Probe();
  if (command == "play") return Play(argc, argv);
  if (command == "live") return Live(argc, argv);
  return 2;
}
