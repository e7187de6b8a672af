// COM server glue of telvstandin-bda.dll: the factory table and the
// registration of every class it serves. Registered only into the Wine
// prefixes of the tests and the demo: on Windows these class ids belong to
// the system's own components.

#include "standin/bda/AtscLocator.h"
#include "standin/bda/AtscTuningSpace.h"
#include "standin/bda/BdaGuids.h"
#include "dshow/ClassFactory.h"
#include "win/ComScope.h"
#include "win/HResultMacros.h"
#include "standin/bda/NetworkProvider.h"
#include "dshow/Registration.h"
#include "dshow/ServerModule.h"
#include "standin/bda/TuningSpaceContainer.h"
#include "standin/bda/VirtualCapture.h"
#include "standin/bda/VirtualTuner.h"

#include <tuner.h>
#include <uuids.h>

namespace {

struct ServedClass {
  const CLSID* clsid;
  const wchar_t* name;
  dshow::CreateFunction create;
};

// The tune request is made by the tuning space, never by class id, so it is
// not served here.
const ServedClass kClasses[] = {
    {&CLSID_ATSCNetworkProvider, L"ATSC Network Provider", &standin::NetworkProvider::CreateInstance},
    {&CLSID_SystemTuningSpaces, L"System Tuning Spaces", &standin::TuningSpaceContainer::CreateInstance},
    {&standin::kAtscTuningSpaceClsid, L"ATSC Tuning Space", &standin::AtscTuningSpace::CreateInstance},
    {&CLSID_ATSCLocator, L"ATSC Locator", &standin::AtscLocator::CreateInstance},
    {&standin::kVirtualTunerClsid, L"Telvantis Stand-in BDA Tuner", &standin::VirtualTuner::CreateInstance},
    {&standin::kVirtualCaptureClsid, L"Telvantis Stand-in BDA Capture", &standin::VirtualCapture::CreateInstance},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  for (const ServedClass& served : kClasses) {
    if (clsid == *served.clsid) return dshow::ClassFactory::CreateInstance(served.create, riid, object);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer() {
  ComScope com;
  for (const ServedClass& served : kClasses) {
    RETURN_IF_FAILED(
        dshow::RegisterInprocServer(dshow::ServerModule(), *served.clsid, served.name));
  }
  return S_OK;
}

STDAPI DllUnregisterServer() {
  ComScope com;
  HRESULT result = S_OK;
  for (const ServedClass& served : kClasses) {
    const HRESULT hr = dshow::UnregisterInprocServer(*served.clsid);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;  // the others still go
  }
  return result;
}
