#include "Tuning.h"

#include "HResultMacros.h"

#include <tuner.h>
#include <uuids.h>
#include <wrl/client.h>

#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

#define STEP(name, expr)           \
  do {                             \
    *step = name;                  \
    RETURN_IF_FAILED(expr);        \
  } while (0)

}  // namespace

HRESULT TuneAtsc(IBaseFilter* provider, long physical, long major, long minor, const char** step) {
  ComPtr<ITuningSpaceContainer> container;
  STEP("create tuning spaces", CoCreateInstance(CLSID_SystemTuningSpaces, nullptr,
                                                CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&container)));
  ComPtr<IEnumTuningSpaces> spaces;
  STEP("get_EnumTuningSpaces", container->get_EnumTuningSpaces(&spaces));
  long count = 0;
  STEP("get_Count", container->get_Count(&count));
  RETURN_HR_IF(E_FAIL, count <= 0 || count > 100);
  std::vector<ITuningSpace*> fetched(static_cast<std::size_t>(count), nullptr);
  ULONG got = 0;
  STEP("Next", spaces->Next(static_cast<ULONG>(count), fetched.data(), &got));
  std::vector<ComPtr<ITuningSpace>> owned;
  for (ULONG i = 0; i < got; ++i) owned.emplace_back().Attach(fetched[i]);
  ComPtr<ITuner> tuner;
  STEP("query ITuner", provider->QueryInterface(IID_PPV_ARGS(&tuner)));
  ComPtr<ITuningSpace> atsc;
  for (auto& space : owned) {
    BSTR name = nullptr;
    STEP("get_UniqueName", space->get_UniqueName(&name));
    const bool isAtsc = name != nullptr && lstrcmpW(name, L"ATSC") == 0;
    SysFreeString(name);
    if (isAtsc) {
      STEP("Clone", space->Clone(&atsc));
      break;
    }
  }
  *step = "find ATSC";
  RETURN_HR_IF(E_FAIL, !atsc);
  ComPtr<IATSCTuningSpace> atscSpace;
  STEP("query IATSCTuningSpace", atsc.As(&atscSpace));
  ComPtr<IATSCLocator> locator;
  STEP("create locator", CoCreateInstance(CLSID_ATSCLocator, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(&locator)));
  STEP("put_PhysicalChannel", locator->put_PhysicalChannel(physical));
  ComPtr<ITuneRequest> request;
  STEP("CreateTuneRequest", atscSpace->CreateTuneRequest(&request));
  ComPtr<IATSCChannelTuneRequest> channel;
  STEP("query IATSCChannelTuneRequest", request.As(&channel));
  STEP("put_Channel", channel->put_Channel(minor < 2 ? -1 : major));
  STEP("put_MinorChannel", channel->put_MinorChannel(minor));
  STEP("put_Locator", request->put_Locator(locator.Get()));
  STEP("put_TuneRequest", tuner->put_TuneRequest(request.Get()));
  *step = "";
  return S_OK;
}

HRESULT ReadSignalStrength(IBaseFilter* provider, long* strength) {
  ComPtr<ITuner> tuner;
  RETURN_IF_FAILED(provider->QueryInterface(IID_PPV_ARGS(&tuner)));
  return tuner->get_SignalStrength(strength);
}
