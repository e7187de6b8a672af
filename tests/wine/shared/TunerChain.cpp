#include "tests/wine/shared/TunerChain.h"

#include <bdaiface.h>
#include <uuids.h>

#include "graph/BdaIds.h"
#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

bool IsFree(IPin* pin, PIN_DIRECTION wanted) {
  PIN_DIRECTION direction;
  ComPtr<IPin> peer;
  return SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted &&
         pin->ConnectedTo(&peer) == VFW_E_NOT_CONNECTED;
}

}  // namespace

HRESULT NewGraph(IGraphBuilder** graph) {
  return CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(graph));
}

HRESULT AddByClsid(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name, IBaseFilter** out) {
  ComPtr<IBaseFilter> filter;
  RETURN_IF_FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&filter)));
  RETURN_IF_FAILED(graph->AddFilter(filter.Get(), name));
  return filter.CopyTo(out);
}

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

HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to, Join join) {
  ComPtr<IEnumPins> outputs;
  RETURN_IF_FAILED(from->EnumPins(&outputs));
  ComPtr<IPin> out;
  while (outputs->Next(1, &out, nullptr) == S_OK) {
    if (IsFree(out.Get(), PINDIR_OUTPUT)) {
      ComPtr<IEnumPins> inputs;
      RETURN_IF_FAILED(to->EnumPins(&inputs));
      ComPtr<IPin> in;
      while (inputs->Next(1, &in, nullptr) == S_OK) {
        if (IsFree(in.Get(), PINDIR_INPUT) &&
            SUCCEEDED(join == Join::Direct ? graph->ConnectDirect(out.Get(), in.Get(), nullptr)
                                           : graph->Connect(out.Get(), in.Get()))) {
          return S_OK;
        }
        in.Reset();
      }
    }
    out.Reset();
  }
  return E_FAIL;
}

HRESULT Tuned(const GraphOutcome& outcome, std::string& step) {
  if (outcome.Failed() && !outcome.messages.empty()) step = outcome.messages.front().text;
  return outcome.result;
}

HRESULT BuildTunerChain(IGraphBuilder* graph, Channel channel, Join join, AtscTuning& tuning,
                        TunerChain& chain, std::string& step) {
  step = "add network provider";
  RETURN_IF_FAILED(AddByClsid(graph, CLSID_ATSCNetworkProvider, L"ATSCNetwork", &chain.provider));
  step = "add tuner";
  RETURN_IF_FAILED(AddFirstDevice(graph, kBdaNetworkTunerCategory, L"BDATunerDemod", &chain.tuner));
  step = "find tuning space";
  RETURN_IF_FAILED(Tuned(tuning.FindAtscTuningSpace(chain.provider.Get()), step));
  step = "tune";
  RETURN_IF_FAILED(Tuned(tuning.TuneChannel(channel.physical, channel.major, channel.minor), step));
  step = "connect provider to tuner";
  RETURN_IF_FAILED(ConnectFilters(graph, chain.provider.Get(), chain.tuner.Get(), join));
  step = "add capture";
  RETURN_IF_FAILED(AddFirstDevice(graph, kBdaReceiverComponentCategory, L"TSCapture", &chain.capture));
  step = "connect tuner to capture";
  return ConnectFilters(graph, chain.tuner.Get(), chain.capture.Get(), join);
}

HRESULT BuildLiveChain(IGraphBuilder* graph, Channel channel, Join join, AtscTuning& tuning,
                       TunerChain& chain, std::string& step) {
  RETURN_IF_FAILED(BuildTunerChain(graph, channel, join, tuning, chain, step));
  step = "add demultiplexer";
  RETURN_IF_FAILED(AddByClsid(graph, CLSID_MPEG2Demultiplexer, L"MPEG2Demux", &chain.demux));
  step = "connect capture to demultiplexer";
  RETURN_IF_FAILED(ConnectFilters(graph, chain.capture.Get(), chain.demux.Get(), join));
  step = "add TIF";
  RETURN_IF_FAILED(AddByClsid(graph, kBdaTransportInformationFilterClsid, L"BDATIF", &chain.tif));
  step = "connect demultiplexer to TIF";
  return ConnectFilters(graph, chain.demux.Get(), chain.tif.Get(), join);
}
