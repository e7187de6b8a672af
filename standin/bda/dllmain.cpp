// COM server glue of telvstandin-bda.dll: the factory table and the
// registration of every class it serves. Registered only into the Wine
// prefixes of the tests and the demo: on Windows these class ids belong to
// the system's own components.

#include "standin/bda/AtscLocator.h"
#include "standin/bda/AtscTuningSpace.h"
#include "standin/bda/BdaGuids.h"
#include "standin/bda/NetworkProvider.h"
#include "dshow/ServerModule.h"
#include "standin/bda/TuningSpaceContainer.h"
#include "standin/shared/ServedClasses.h"
#include "standin/bda/VirtualCapture.h"
#include "standin/bda/VirtualTuner.h"

#include <tuner.h>
#include <uuids.h>

namespace {

// The tune request is made by the tuning space, never by class id, so it is
// not served here.
const standin::ServedClass kClasses[] = {
    {&CLSID_ATSCNetworkProvider, L"ATSC Network Provider", &standin::NetworkProvider::CreateInstance},
    {&CLSID_SystemTuningSpaces, L"System Tuning Spaces", &standin::TuningSpaceContainer::CreateInstance},
    {&standin::kAtscTuningSpaceClsid, L"ATSC Tuning Space", &standin::AtscTuningSpace::CreateInstance},
    {&CLSID_ATSCLocator, L"ATSC Locator", &standin::AtscLocator::CreateInstance},
    {&standin::kVirtualTunerClsid, L"Telvantis Stand-in BDA Tuner", &standin::VirtualTuner::CreateInstance},
    {&standin::kVirtualCaptureClsid, L"Telvantis Stand-in BDA Capture", &standin::VirtualCapture::CreateInstance},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return standin::GetServedClassObject(kClasses, clsid, riid, object);
}

STDAPI DllRegisterServer() { return standin::RegisterServedClasses(dshow::ServerModule(), kClasses); }

STDAPI DllUnregisterServer() { return standin::UnregisterServedClasses(kClasses); }
