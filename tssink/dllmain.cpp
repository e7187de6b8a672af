// COM server glue of telvantissink.ax: the factory table and registration.

#include "dshow/ClassFactory.h"
#include "win/ComScope.h"
#include "win/HResultMacros.h"
#include "dshow/Registration.h"
#include "dshow/ServerModule.h"
#include "tssink/TsSinkFilter.h"
#include "tssink/TsSinkGuids.h"

#include <uuids.h>

namespace {

// Created by class id only, never by intelligent connect.
const dshow::FilterRegistration kRegistration{
    &kTsSinkClsid,
    L"TelvantisTSSink",
    MERIT_DO_NOT_USE,
    {L"Input", false, &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_TRANSPORT}};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(CLASS_E_CLASSNOTAVAILABLE, clsid != kTsSinkClsid);
  return dshow::ClassFactory::CreateInstance(&tssink::TsSinkFilter::CreateInstance, riid,
                                             object);
}

STDAPI DllRegisterServer() {
  ComScope com;
  return dshow::RegisterFilterServer(dshow::ServerModule(), kRegistration);
}

STDAPI DllUnregisterServer() {
  ComScope com;
  return dshow::UnregisterFilterServer(kTsSinkClsid);
}
