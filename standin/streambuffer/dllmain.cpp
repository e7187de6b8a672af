// COM server glue of telvstandin-streambuffer.dll: the factory table and
// registration of the stream-buffer sink, source and configuration under
// the platform's class ids. The recorder objects are made by the sink only.

#include "dshow/ClassFactory.h"
#include "dshow/Registration.h"
#include "dshow/ServerModule.h"
#include "standin/streambuffer/ConfigObject.h"
#include "standin/streambuffer/SinkFilter.h"
#include "standin/streambuffer/SourceFilter.h"
#include "win/ComScope.h"
#include "win/HResultMacros.h"

#include <uuids.h>

namespace {

struct ServedClass {
  const CLSID* clsid;
  const wchar_t* name;
  dshow::CreateFunction create;
  bool filter;  // listed with the filter mapper
};

const ServedClass kClasses[] = {
    {&CLSID_StreamBufferSink, L"StreamBufferSink", &standin::SinkFilter::CreateInstance, true},
    {&CLSID_StreamBufferSource, L"StreamBufferSource", &standin::SourceFilter::CreateInstance, true},
    {&CLSID_StreamBufferConfig, L"StreamBufferConfig", &standin::ConfigObject::CreateInstance, false},
};

// The suite creates the filters by class id; intelligent connect is not to
// insert them on its own.
dshow::FilterRegistration FilterEntry(const ServedClass& served) {
  if (*served.clsid == CLSID_StreamBufferSink) {
    return {served.clsid, served.name, MERIT_DO_NOT_USE,
            {L"Video", false, &MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO}};
  }
  return {served.clsid, served.name, MERIT_DO_NOT_USE,
          {L"Video", true, &MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO}};
}

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
    RETURN_IF_FAILED(dshow::RegisterInprocServer(dshow::ServerModule(), *served.clsid, served.name));
    if (served.filter) RETURN_IF_FAILED(dshow::RegisterFilter(FilterEntry(served)));
  }
  return S_OK;
}

STDAPI DllUnregisterServer() {
  ComScope com;
  HRESULT result = S_OK;
  for (const ServedClass& served : kClasses) {
    // The class key goes even when the mapper's entry is already gone.
    const HRESULT filterResult = served.filter ? dshow::UnregisterFilter(*served.clsid) : S_OK;
    const HRESULT classResult = dshow::UnregisterInprocServer(*served.clsid);
    if (SUCCEEDED(result)) result = FAILED(classResult) ? classResult : filterResult;
  }
  return result;
}
