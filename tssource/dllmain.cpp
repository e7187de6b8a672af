// COM server glue of telvantissource.ax: the factory table and registration.

#include "ClassFactory.h"
#include "ComScope.h"
#include "HResultMacros.h"
#include "Registration.h"
#include "ServerLock.h"
#include "TsSourceFilter.h"
#include "TsSourceGuids.h"

#include <uuids.h>

namespace {

HMODULE serverModule = nullptr;

const dshow::FilterRegistration kRegistration{
    &kTsSourceClsid,
    L"TelvantisTSSource",
    MERIT_DO_NOT_USE,
    {L"Output", true, &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_TRANSPORT}};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    serverModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(CLASS_E_CLASSNOTAVAILABLE, clsid != kTsSourceClsid);
  return dshow::ClassFactory::CreateInstance(&tssource::TsSourceFilter::CreateInstance, riid,
                                             object);
}

STDAPI DllCanUnloadNow() { return dshow::ServerLock::IsLocked() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() {
  ComScope com;
  return dshow::RegisterFilterServer(serverModule, kRegistration);
}

STDAPI DllUnregisterServer() {
  ComScope com;
  return dshow::UnregisterFilterServer(kTsSourceClsid);
}
