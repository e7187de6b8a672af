// COM server glue of telvantissource.ax: the factory table and registration.

#include "dshow/ClassFactory.h"
#include "win/ComScope.h"
#include "win/HResultMacros.h"
#include "dshow/Registration.h"
#include "dshow/ServerModule.h"
#include "tssource/TsSourceFilter.h"
#include "tssource/TsSourceGuids.h"

#include <uuids.h>

namespace {

const dshow::FilterRegistration kRegistration{
    &kTsSourceClsid,
    L"TelvantisTSSource",
    MERIT_DO_NOT_USE,
    {L"Output", true, &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_TRANSPORT}};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(CLASS_E_CLASSNOTAVAILABLE, clsid != kTsSourceClsid);
  return dshow::ClassFactory::CreateInstance(&tssource::TsSourceFilter::CreateInstance, riid,
                                             object);
}

STDAPI DllRegisterServer() {
  ComScope com;
  return dshow::RegisterFilterServer(dshow::ServerModule(), kRegistration);
}

STDAPI DllUnregisterServer() {
  ComScope com;
  return dshow::UnregisterFilterServer(kTsSourceClsid);
}
