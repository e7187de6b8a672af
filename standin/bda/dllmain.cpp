// COM server glue of telvstandin-bda.dll: the factory table and the
// registration of every class it serves. Registered only into the Wine
// prefixes of the tests and the demo: on Windows these class ids belong to
// the system's own components. Which network provider is registered follows
// the platform the stand-ins present: the ATSC one of the older systems or
// the generic one of Windows 7 and later, never both.

#include "graph/BdaIds.h"
#include "standin/bda/AtscLocator.h"
#include "standin/bda/AtscTuningSpace.h"
#include "standin/bda/BdaGuids.h"
#include "standin/bda/NetworkProvider.h"
#include "dshow/ServerModule.h"
#include "standin/bda/TuningSpaceContainer.h"
#include "standin/shared/ServedClasses.h"
#include "standin/shared/StandinSettings.h"
#include "standin/bda/VirtualCapture.h"
#include "standin/bda/VirtualTuner.h"
#include "win/HResultMacros.h"

#include <tuner.h>
#include <uuids.h>

#include <vector>

namespace {

// The tune request is made by the tuning space, never by class id, so it is
// not served here. The two network providers come first.
const standin::ServedClass kClasses[] = {
    {&CLSID_ATSCNetworkProvider, L"ATSC Network Provider", &standin::NetworkProvider::CreateAtscInstance},
    {&kNetworkProviderClsid, L"Network Provider", &standin::NetworkProvider::CreateGenericInstance},
    {&CLSID_SystemTuningSpaces, L"System Tuning Spaces", &standin::TuningSpaceContainer::CreateInstance},
    {&standin::kAtscTuningSpaceClsid, L"ATSC Tuning Space", &standin::AtscTuningSpace::CreateInstance},
    {&CLSID_ATSCLocator, L"ATSC Locator", &standin::AtscLocator::CreateInstance},
    {&standin::kVirtualTunerClsid, L"Telvantis Stand-in BDA Tuner", &standin::VirtualTuner::CreateInstance},
    {&standin::kVirtualCaptureClsid, L"Telvantis Stand-in BDA Capture", &standin::VirtualCapture::CreateInstance},
};

constexpr std::size_t kAtscProvider = 0;
constexpr std::size_t kGenericProvider = 1;

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return standin::GetServedClassObject(kClasses, clsid, riid, object);
}

// The provider of the other platform is removed, so that a prefix switched
// from one platform to the other offers only the one it now presents.
STDAPI DllRegisterServer() try {
  const bool windows7 = standin::IsWindows7Platform();
  const std::size_t absent = windows7 ? kAtscProvider : kGenericProvider;
  std::vector<standin::ServedClass> served;
  for (std::size_t i = 0; i < std::size(kClasses); ++i) {
    if (i != absent) served.push_back(kClasses[i]);
  }
  RETURN_IF_FAILED(standin::UnregisterServedClasses({&kClasses[absent], 1}));
  return standin::RegisterServedClasses(dshow::ServerModule(), served);
}
CATCH_RETURN()

STDAPI DllUnregisterServer() { return standin::UnregisterServedClasses(kClasses); }
