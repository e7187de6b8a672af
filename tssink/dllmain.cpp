// COM server glue of telvantissink.ax: the registration data and the exports.

#include "dshow/OneFilterServer.h"
#include "tssink/TsSinkFilter.h"
#include "tssink/TsSinkGuids.h"

#include <uuids.h>

namespace {

// Created by class id only, never by intelligent connect.
const dshow::OneFilterServer kServer{
    {&kTsSinkClsid, L"TelvantisTSSink", MERIT_DO_NOT_USE,
     {L"Input", false, &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_TRANSPORT}},
    &tssink::TsSinkFilter::CreateInstance};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return kServer.GetClassObject(clsid, riid, object);
}

STDAPI DllRegisterServer() { return kServer.Register(); }

STDAPI DllUnregisterServer() { return kServer.Unregister(); }
