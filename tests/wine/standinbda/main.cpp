// bdagraph: builds BDA graphs on the stand-in platform the way the viewer
// does and prints what it observes, for test_standin_bda.sh.
//
//   bdagraph devices
//       the friendly names of the BDA tuner ("tuner=") and receiver
//       ("capture=") devices, in enumeration order
//   bdagraph run [--tuner NAME] [--capture NAME | --no-capture]
//                --tune PHYSICAL MAJOR MINOR --seconds S [--tune ... --seconds S]...
//       network provider -> tuner (-> capture) -> counting sink, tuned with
//       the viewer's calls before the provider is connected, then run; each
//       later --tune re-tunes the running graph. After each phase one line:
//       "phase=N program=P tsid=T bytes=B packets=K pcr=SECONDS
//        elapsed=SECONDS discontinuities=D signal=S tuned_signal=S0", S0 read
//       just after the phase's tune (-1 for the first phase)
//   bdagraph providers
//       which network providers can be created: "atsc=0|1 generic=0|1"
//   bdagraph signal PHYSICAL MAJOR MINOR
//       a network provider alone (no tuner): tuned, then its signal strength
// A failure prints "message=TEXT" with the text the viewer would show
// (a tuning failure also the viewer's summary line) and exits 3; other
// failures exit 1; bad usage 2.

#include <windows.h>
#include <dshow.h>
#include <tuner.h>
#include <uuids.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "graph/AtscTuning.h"
#include "graph/FilterClassIds.h"
#include "graph/GraphToolkit.h"
#include "win/ComObject.h"
#include "win/ComScope.h"
#include "win/UniqueHandle.h"
#include "CountingSink.h"
#include "tests/wine/shared/GraphTestProgram.h"
#include "dshow/InfoOwners.h"
#include "standin/shared/StandinInterfaces.h"

using Microsoft::WRL::ComPtr;

const char kTestProgramName[] = "bdagraph";

namespace {

struct Phase {
  long physical = 0, major = 0, minor = 0;
  double seconds = 1;
};

int Message(const std::string& text) {
  std::printf("message=%s\n", text.c_str());
  std::fflush(stdout);
  return 3;
}

// Every message of a failed tuning call, in the order the viewer shows them.
int Messages(const GraphOutcome& outcome) {
  for (const GraphMessage& message : outcome.messages) Message(message.text);
  return 3;
}

int Usage() {
  std::fputs("usage: bdagraph devices | providers | signal P M m | run [--tuner NAME] [--capture NAME | --no-capture]\n"
             "       --tune P M m --seconds S [--tune P M m --seconds S]...\n",
             stderr);
  return 2;
}

std::string Narrow(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(length > 0 ? length - 1 : 0, '\0');
  if (length > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), length, nullptr, nullptr);
  return out;
}

// Friendly names and monikers of a category, in enumeration order (the
// toolkit lists tuners only).
HRESULT ListDevices(const GUID& category, std::vector<std::pair<std::wstring, ComPtr<IMoniker>>>& out) {
  ComPtr<ICreateDevEnum> devices;
  HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&devices));
  if (FAILED(hr)) return hr;
  ComPtr<IEnumMoniker> monikers;
  hr = devices->CreateClassEnumerator(category, &monikers, 0);
  if (hr != S_OK) return SUCCEEDED(hr) ? S_OK : hr;
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_PPV_ARGS(&bag)))) continue;
    UniqueVariant name;
    VARIANT* slot = name.Put();
    slot->vt = VT_BSTR;
    if (FAILED(bag->Read(L"FriendlyName", slot, nullptr)) || name->vt != VT_BSTR) continue;
    out.emplace_back(name->bstrVal, moniker);
  }
  return S_OK;
}

// The model that accepts just these devices, as tuner.txt's model does.
TuningModel ModelOf(const std::wstring& tuner, const std::wstring& capture) {
  TuningModel model;
  model.tunerNames = {Narrow(tuner.c_str())};
  model.captureNames = {Narrow(capture.c_str())};
  return model;
}

// The tuners as the product lists them, then the receiver components.
int Devices() {
  std::vector<std::string> tuners;
  const GraphOutcome listed = EnumerateTunerDevices(&tuners);
  if (listed.Failed()) return Messages(listed);
  for (const std::string& tuner : tuners) std::printf("tuner=%s\n", tuner.c_str());
  std::vector<std::pair<std::wstring, ComPtr<IMoniker>>> captures;
  if (FAILED(ListDevices(kBdaReceiverComponentCategory, captures))) {
    return Message("CAN'T INITIALIZE SYSTEM DEVICE ENUMERATOR");
  }
  for (const auto& device : captures) std::printf("capture=%s\n", Narrow(device.first.c_str()).c_str());
  return 0;
}

// The network provider as the viewer creates it: the generic one, else the
// ATSC one.
HRESULT CreateProvider(IBaseFilter** provider) {
  HRESULT hr = E_FAIL;
  for (const GUID& clsid : ClassIds(FilterClass::NetworkProvider)) {
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(provider));
    if (SUCCEEDED(hr)) break;
  }
  return hr;
}

bool CanCreate(const CLSID& clsid) {
  ComPtr<IBaseFilter> filter;
  return SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)));
}

int Providers() {
  std::printf("atsc=%d generic=%d\n", CanCreate(CLSID_ATSCNetworkProvider) ? 1 : 0,
              CanCreate(kNetworkProviderClsid) ? 1 : 0);
  return 0;
}

int Signal(long physical, long major, long minor) {
  ComPtr<IBaseFilter> provider;
  if (FAILED(CreateProvider(&provider))) return Message("NO ATSC NETWORK PROVIDER");
  AtscTuning tuning;
  const GraphOutcome found = tuning.FindAtscTuningSpace(provider.Get());
  if (found.Failed()) return Messages(found);
  const GraphOutcome tuned = tuning.TuneChannel(physical, major, minor);
  if (tuned.Failed()) return Messages(tuned);
  const HRESULT hr = tuning.ReadSignalStrength();
  std::printf("signal=%ld result=0x%08lX\n", SUCCEEDED(hr) ? tuning.SignalStrength() : 0L,
              static_cast<unsigned long>(hr));
  return 0;
}

int Run(const std::wstring& tunerName, const std::wstring& captureName, bool withCapture,
        const std::vector<Phase>& phases) {
  ComPtr<IGraphBuilder> graph;
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)))) {
    return Message("CAN'T INITIALIZE FILTER GRAPH");
  }
  ComPtr<IBaseFilter> provider, tuner, capture;
  if (FAILED(CreateProvider(&provider)) || FAILED(graph->AddFilter(provider.Get(), L"ATSCNetwork"))) {
    return Message("NO ATSC NETWORK PROVIDER");
  }
  const TuningModel model = ModelOf(tunerName, captureName);
  if (AddFilterByName(graph.Get(), kBdaNetworkTunerCategory, FilterRole::Tuner, &model, {}, &tuner).Failed() ||
      !tuner) {
    return Message("CAN'T LOAD BDA Tuner");
  }
  AtscTuning tuning;
  const GraphOutcome found = tuning.FindAtscTuningSpace(provider.Get());
  if (found.Failed()) {
    Messages(found);
    return Message("CAN'T GET TUNING SPACE");
  }
  const GraphOutcome firstTune =
      tuning.TuneChannel(phases[0].physical, phases[0].major, phases[0].minor);
  if (firstTune.Failed()) {
    Messages(firstTune);
    return Message("CAN'T TUNE CHANNEL");
  }
  if (ConnectFilters(graph.Get(), provider.Get(), tuner.Get()).Failed()) {
    return Message("CAN'T CONNECT NETWORK PROVIDER TO BDA Tuner");
  }
  IBaseFilter* last = tuner.Get();
  if (withCapture) {
    if (AddFilterByName(graph.Get(), kBdaReceiverComponentCategory, FilterRole::Capture, &model, {}, &capture)
            .Failed() ||
        !capture) {
      return Message("CAN'T LOAD BDA Capture");
    }
    if (ConnectFilters(graph.Get(), tuner.Get(), capture.Get()).Failed()) {
      return Message("CAN'T CONNECT BDA Tuner to BDA Capture");
    }
    last = capture.Get();
  }
  CountingSink* sinkObject = nullptr;
  if (FAILED(CountingSink::Create(&sinkObject))) return 1;
  const ComPtr<IBaseFilter> sink = AdoptNew<IBaseFilter>(sinkObject);
  if (FAILED(graph->AddFilter(sink.Get(), L"Counter")) || ConnectFilters(graph.Get(), last, sink.Get()).Failed()) {
    return Message("CAN'T CONNECT THE COUNTING SINK");
  }
  ComPtr<IMediaControl> control;
  if (FAILED(graph.As(&control)) || FAILED(control->Run())) return Message("CAN'T RUN FILTER GRAPH");

  ComPtr<standin::IStandinTunedProgram> tuned;
  standin::FindUpstreamTunedProgram(sink.Get(), &tuned);  // none: program 0 is printed
  for (std::size_t i = 0; i < phases.size(); ++i) {
    const Phase& phase = phases[i];
    long tunedStrength = -1;  // the first phase is tuned before the run
    if (i > 0) {
      const GraphOutcome retuned = tuning.TuneChannel(phase.physical, phase.major, phase.minor);
      if (retuned.Failed()) {
        control->Stop();
        return Messages(retuned);
      }
      if (SUCCEEDED(tuning.ReadSignalStrength())) tunedStrength = tuning.SignalStrength();
    }
    sinkObject->Counter().Take();
    const auto begin = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(phase.seconds));
    const StreamCounter::Counts counts = sinkObject->Counter().Take();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const HRESULT signalResult = tuning.ReadSignalStrength();
    const long strength = SUCCEEDED(signalResult) ? tuning.SignalStrength() : 0;
    standin::TunedProgram program{};
    if (tuned) tuned->GetTunedProgram(&program);
    std::printf("phase=%zu program=%lu tsid=%d bytes=%llu packets=%llu pcr=%.3f elapsed=%.3f "
                "discontinuities=%llu signal=%ld tuned_signal=%ld%s\n",
                i + 1, static_cast<unsigned long>(program.programNumber), counts.tsid,
                static_cast<unsigned long long>(counts.bytes), static_cast<unsigned long long>(counts.packets),
                counts.pcrSeconds, elapsed, static_cast<unsigned long long>(counts.discontinuities), strength,
                tunedStrength,
                FAILED(signalResult) ? " signal-failed" : "");
    std::fflush(stdout);
  }
  if (FAILED(control->Stop())) return Message("CAN'T STOP FILTER GRAPH");
  std::puts("stopped");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  ComScope com;
  if (!com.Succeeded()) return 1;
  const std::string command = argv[1];
  if (command == "devices" && argc == 2) return Devices();
  if (command == "providers" && argc == 2) return Providers();
  if (command == "signal" && argc == 5) return Signal(std::atol(argv[2]), std::atol(argv[3]), std::atol(argv[4]));
  if (command != "run") return Usage();

  std::wstring tunerName = L"Telvantis Virtual Tuner", captureName = L"Telvantis Virtual Capture";
  bool withCapture = true;
  std::vector<Phase> phases;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--tuner" && i + 1 < argc) {
      tunerName = Wide(argv[++i]);
    } else if (option == "--capture" && i + 1 < argc) {
      captureName = Wide(argv[++i]);
    } else if (option == "--no-capture") {
      withCapture = false;
    } else if (option == "--tune" && i + 3 < argc) {
      phases.push_back(Phase{std::atol(argv[i + 1]), std::atol(argv[i + 2]), std::atol(argv[i + 3]), 1});
      i += 3;
    } else if (option == "--seconds" && i + 1 < argc && !phases.empty()) {
      phases.back().seconds = std::atof(argv[++i]);
    } else {
      return Usage();
    }
  }
  if (phases.empty()) return Usage();
  return Run(tunerName, captureName, withCapture, phases);
}
