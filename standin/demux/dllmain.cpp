// COM server glue of telvstandin-demux.dll: the factory table and
// registration of the demultiplexer, the transport information filter, the
// video stream analyser and the pin tee, under the platform's class ids.

#include "standin/demux/AnalyzerFilter.h"
#include "dshow/ClassFactory.h"
#include "win/ComScope.h"
#include "standin/demux/DemuxFilter.h"
#include "standin/demux/DemuxGuids.h"
#include "win/HResultMacros.h"
#include "standin/demux/InfTeeFilter.h"
#include "dshow/Registration.h"
#include "dshow/ServerModule.h"
#include "standin/demux/TifFilter.h"

#include <uuids.h>

namespace {

struct ServedClass {
  dshow::FilterRegistration registration;
  dshow::CreateFunction create;
};

// The suite creates all four by class id; none is for intelligent connect to
// insert on its own.
const ServedClass kClasses[] = {
    {{&CLSID_MPEG2Demultiplexer, L"MPEG-2 Demultiplexer", MERIT_DO_NOT_USE,
      {L"MPEG-2 Stream", false, &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_TRANSPORT}},
     &standin::DemuxFilter::CreateInstance},
    {{&kBdaTransportInformationFilterClsid, L"BDA MPEG2 Transport Information Filter", MERIT_DO_NOT_USE,
      {L"Input", false, &MEDIATYPE_MPEG2_SECTIONS, &MEDIASUBTYPE_MPEG2DATA}},
     &standin::TifFilter::CreateInstance},
    {{&CLSID_Mpeg2VideoStreamAnalyzer, L"MPEG-2 Video Stream Analyzer", MERIT_DO_NOT_USE,
      {L"Input", false, &MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO}},
     &standin::AnalyzerFilter::CreateInstance},
    {{&CLSID_InfTee, L"Infinite Pin Tee Filter", MERIT_DO_NOT_USE,
      {L"Input", false, &GUID_NULL, &GUID_NULL}},
     &standin::InfTeeFilter::CreateInstance},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  for (const ServedClass& served : kClasses) {
    if (clsid == *served.registration.clsid) {
      return dshow::ClassFactory::CreateInstance(served.create, riid, object);
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer() {
  ComScope com;
  for (const ServedClass& served : kClasses) {
    const auto& registration = served.registration;
    RETURN_IF_FAILED(dshow::RegisterInprocServer(dshow::ServerModule(), *registration.clsid,
                                                 registration.name));
    RETURN_IF_FAILED(dshow::RegisterFilter(registration));
  }
  return S_OK;
}

STDAPI DllUnregisterServer() {
  ComScope com;
  HRESULT result = S_OK;
  for (const ServedClass& served : kClasses) {
    // The class key goes even when the mapper's entry is already gone.
    const HRESULT filterResult = dshow::UnregisterFilter(*served.registration.clsid);
    const HRESULT classResult = dshow::UnregisterInprocServer(*served.registration.clsid);
    if (SUCCEEDED(result)) result = FAILED(classResult) ? classResult : filterResult;
  }
  return result;
}
