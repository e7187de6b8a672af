// COM server glue of telvantissource.ax: the registration data and the exports.

#include "dshow/OneFilterServer.h"
#include "tssource/TsSourceFilter.h"
#include "tssource/TsSourceGuids.h"

#include <uuids.h>

namespace {

const dshow::OneFilterServer kServer{
    {&kTsSourceClsid, L"TelvantisTSSource", MERIT_DO_NOT_USE,
     {L"Output", true, &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_TRANSPORT}},
    &tssource::TsSourceFilter::CreateInstance};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return kServer.GetClassObject(clsid, riid, object);
}

STDAPI DllRegisterServer() { return kServer.Register(); }

STDAPI DllUnregisterServer() { return kServer.Unregister(); }
