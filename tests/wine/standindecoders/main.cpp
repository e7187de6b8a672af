// standindecoders: drives the test decoders and the VMR-7 wrapper for the
// Wine tests. Each command prints "name=value" lines on standard output.
//
//   standindecoders list      the decoders the system check would list
//   standindecoders probe     creation and aspect-ratio calls, with results
//   standindecoders play FILE SECONDS [--intelligent] [--no-audio]
//                             [--video-pid PID] [--audio-pid PID]
//       test source (the PES units of FILE) -> video decoder -> VMR-7
//       windowless in a top-level 640 x 480 window, and -> AC-3 decoder ->
//       DirectSound renderer; with --intelligent the source is connected
//       straight to the renderers and the graph inserts the decoders. Prints
//       the decoders' counters every second while it runs.
// Exit status: 0 done, 1 a call failed (message on stderr), 2 bad usage.

#include "ComScope.h"
#include "ElementaryUnits.h"
#include "HResultMacros.h"
#include "InfoOwners.h"
#include "TestSourceFilter.h"

#include <dshow.h>
#include <uuids.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using Microsoft::WRL::ComPtr;

namespace {

constexpr CLSID kVideoDecoderClsid = {
    0x6f1d3a52, 0x8c47, 0x4e0b, {0xa9, 0xd3, 0x2b, 0x7e, 0x5c, 0x91, 0x4a, 0x61}};
constexpr CLSID kAudioDecoderClsid = {
    0x6f1d3a53, 0x8c47, 0x4e0b, {0xa9, 0xd3, 0x2b, 0x7e, 0x5c, 0x91, 0x4a, 0x61}};
constexpr wchar_t kWindowClass[] = L"StandinDecodersVideo";
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;

int Fail(const char* what, HRESULT hr) {
  std::fprintf(stderr, "standindecoders: %s failed: 0x%08lX\n", what,
               static_cast<unsigned long>(hr));
  return 1;
}

#define CHECK(what, expr)                             \
  do {                                                \
    const HRESULT hrCall_ = (expr);                   \
    if (FAILED(hrCall_)) return Fail(what, hrCall_);  \
  } while (0)

void PrintResult(const char* name, HRESULT hr) {
  std::printf("%s=0x%08lX\n", name, static_cast<unsigned long>(hr));
}

std::string Narrow(const wchar_t* text) {
  char buffer[512] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
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
    VARIANT name;
    VariantInit(&name);
    if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag))) &&
        SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR) {
      std::printf("%s=%s\n", label, Narrow(name.bstrVal).c_str());
    }
    VariantClear(&name);
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
  const HRESULT queried =
      vmr->QueryInterface(IID_IVMRAspectRatioControl, reinterpret_cast<void**>(aspect.GetAddressOf()));
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
  vmr->QueryInterface(IID_PPV_ARGS(&one));
  if (aspect) aspect->QueryInterface(IID_PPV_ARGS(&two));
  std::printf("vmr-identity=%d\n", one && one == two ? 1 : 0);
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

HRESULT FindPin(IBaseFilter* filter, PIN_DIRECTION wanted, int skip, IPin** out) {
  *out = nullptr;
  ComPtr<IEnumPins> pins;
  RETURN_IF_FAILED(filter->EnumPins(&pins));
  ComPtr<IPin> pin;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction{};
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted && skip-- == 0) {
      *out = pin.Detach();
      return S_OK;
    }
    pin.Reset();
  }
  return VFW_E_NOT_FOUND;
}

HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* from, int outputIndex, IBaseFilter* to) {
  ComPtr<IPin> out, in;
  RETURN_IF_FAILED(FindPin(from, PINDIR_OUTPUT, outputIndex, &out));
  RETURN_IF_FAILED(FindPin(to, PINDIR_INPUT, 0, &in));
  return graph->Connect(out.Get(), in.Get());
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

// Pumps the window's messages for `seconds`, printing the counters each second.
void RunFor(int seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
  ULONGLONG nextPrint = GetTickCount64() + 1000;
  int second = 1;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min(end, nextPrint) - now),
                              QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (GetTickCount64() >= nextPrint) {
      PrintCounters(second++);
      nextPrint += 1000;
    }
  }
}

int Play(int argc, char** argv) {
  if (argc < 4) return 2;
  const std::string file = argv[2];
  const int seconds = std::atoi(argv[3]);
  bool intelligent = false, audio = true;
  unsigned videoPid = 0x31, audioPid = 0x34;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--intelligent") == 0) intelligent = true;
    else if (std::strcmp(argv[i], "--no-audio") == 0) audio = false;
    else if (std::strcmp(argv[i], "--video-pid") == 0 && i + 1 < argc) videoPid = std::strtoul(argv[++i], nullptr, 0);
    else if (std::strcmp(argv[i], "--audio-pid") == 0 && i + 1 < argc) audioPid = std::strtoul(argv[++i], nullptr, 0);
    else return 2;
  }

  auto videoUnits = ReadElementaryUnits(file, static_cast<std::uint16_t>(videoPid));
  auto audioUnits = audio ? ReadElementaryUnits(file, static_cast<std::uint16_t>(audioPid))
                          : std::vector<ElementaryUnit>{};
  std::printf("units video=%zu audio=%zu\n", videoUnits.size(), audioUnits.size());
  if (videoUnits.empty()) return Fail("read video units", E_FAIL);

  HWND window = CreateVideoWindow();
  if (window == nullptr) return Fail("create window", HRESULT_FROM_WIN32(GetLastError()));

  ComPtr<IGraphBuilder> graph;
  CHECK("create graph", CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_PPV_ARGS(&graph)));
  ComPtr<IBaseFilter> source;
  CHECK("create source", TestSourceFilter::Create(std::move(videoUnits), std::move(audioUnits),
                                                  &source));
  CHECK("add source", graph->AddFilter(source.Get(), L"Source"));

  // The renderer set-up of the live graph: windowless, clipping window,
  // letter-box mode.
  ComPtr<IBaseFilter> vmr;
  CHECK("create VMR", CoCreateInstance(CLSID_VideoMixingRenderer, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_PPV_ARGS(&vmr)));
  CHECK("add VMR", graph->AddFilter(vmr.Get(), L"VMR"));
  ComPtr<IVMRFilterConfig> config;
  CHECK("query IVMRFilterConfig", vmr->QueryInterface(IID_IVMRFilterConfig,
                                                      reinterpret_cast<void**>(config.GetAddressOf())));
  CHECK("set windowless", config->SetRenderingMode(VMRMode_Windowless));
  ComPtr<IVMRWindowlessControl> windowless;
  CHECK("query IVMRWindowlessControl",
        vmr->QueryInterface(IID_IVMRWindowlessControl,
                            reinterpret_cast<void**>(windowless.GetAddressOf())));
  CHECK("set clipping window", windowless->SetVideoClippingWindow(window));
  ComPtr<IVMRAspectRatioControl> aspect;
  CHECK("query IVMRAspectRatioControl",
        vmr->QueryInterface(IID_IVMRAspectRatioControl,
                            reinterpret_cast<void**>(aspect.GetAddressOf())));
  CHECK("set letter box", aspect->SetAspectRatioMode(VMR_ARMODE_LETTER_BOX));

  ComPtr<IBaseFilter> videoDecoder, audioDecoder;
  if (intelligent) {
    CHECK("connect source to VMR", ConnectFilters(graph.Get(), source.Get(), 0, vmr.Get()));
  } else {
    CHECK("create video decoder", CoCreateInstance(kVideoDecoderClsid, nullptr,
                                                   CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&videoDecoder)));
    CHECK("add video decoder", graph->AddFilter(videoDecoder.Get(), L"Video Decoder"));
    CHECK("connect source to video decoder",
          ConnectFilters(graph.Get(), source.Get(), 0, videoDecoder.Get()));
    CHECK("connect video decoder to VMR",
          ConnectFilters(graph.Get(), videoDecoder.Get(), 0, vmr.Get()));
  }
  if (audio) {
    ComPtr<IBaseFilter> sound;
    CHECK("create sound renderer", CoCreateInstance(CLSID_DSoundRender, nullptr,
                                                    CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&sound)));
    CHECK("add sound renderer", graph->AddFilter(sound.Get(), L"Sound"));
    if (intelligent) {
      CHECK("connect source to sound", ConnectFilters(graph.Get(), source.Get(), 1, sound.Get()));
    } else {
      CHECK("create audio decoder", CoCreateInstance(kAudioDecoderClsid, nullptr,
                                                     CLSCTX_INPROC_SERVER,
                                                     IID_PPV_ARGS(&audioDecoder)));
      CHECK("add audio decoder", graph->AddFilter(audioDecoder.Get(), L"Audio Decoder"));
      CHECK("connect source to audio decoder",
            ConnectFilters(graph.Get(), source.Get(), 1, audioDecoder.Get()));
      CHECK("connect audio decoder to sound",
            ConnectFilters(graph.Get(), audioDecoder.Get(), 0, sound.Get()));
    }
  }

  // What the graph holds now, by name: the inserted decoders among them.
  ComPtr<IEnumFilters> filters;
  CHECK("enumerate filters", graph->EnumFilters(&filters));
  ComPtr<IBaseFilter> filter;
  while (filters->Next(1, &filter, nullptr) == S_OK) {
    dshow::FilterInfoOwner info;
    if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
      std::printf("filter=%s\n", Narrow(info.achName).c_str());
    }
    filter.Reset();
  }

  LONG width = 0, height = 0, aspectX = 0, aspectY = 0;
  CHECK("native size", windowless->GetNativeVideoSize(&width, &height, &aspectX, &aspectY));
  std::printf("native=%ldx%ld aspect=%ld:%ld\n", width, height, aspectX, aspectY);
  RECT client{};
  GetClientRect(window, &client);
  CHECK("set video position", windowless->SetVideoPosition(nullptr, &client));
  RECT src{}, dst{};
  CHECK("get video position", windowless->GetVideoPosition(&src, &dst));
  std::printf("position=%ld,%ld,%ld,%ld\n", dst.left, dst.top, dst.right, dst.bottom);

  ComPtr<IMediaControl> control;
  CHECK("query IMediaControl", graph.As(&control));
  CHECK("run", control->Run());
  std::printf("running\n");
  RunFor(seconds);
  CHECK("stop", control->Stop());
  std::printf("stopped\n");
  PrintCounters(seconds + 1);
  DestroyWindow(window);
  return 0;
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
  return 2;
}
