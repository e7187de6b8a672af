// COM server glue of telvstandin-streambuffer.dll: the factory table and
// registration of the stream-buffer sink, source and configuration under
// the platform's class ids. The recorder objects are made by the sink only.

#include "dshow/ServerModule.h"
#include "standin/shared/ServedClasses.h"
#include "standin/streambuffer/ConfigObject.h"
#include "standin/streambuffer/SinkFilter.h"
#include "standin/streambuffer/SourceFilter.h"

#include <uuids.h>

namespace {

// The suite creates the filters by class id; intelligent connect is not to
// insert them on its own.
const standin::ServedClass kClasses[] = {
    {&CLSID_StreamBufferSink, L"StreamBufferSink", &standin::SinkFilter::CreateInstance, true,
     MERIT_DO_NOT_USE, {L"Video", false, &MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO}},
    {&CLSID_StreamBufferSource, L"StreamBufferSource", &standin::SourceFilter::CreateInstance, true,
     MERIT_DO_NOT_USE, {L"Video", true, &MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO}},
    {&CLSID_StreamBufferConfig, L"StreamBufferConfig", &standin::ConfigObject::CreateInstance},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return standin::GetServedClassObject(kClasses, clsid, riid, object);
}

STDAPI DllRegisterServer() { return standin::RegisterServedClasses(dshow::ServerModule(), kClasses); }

STDAPI DllUnregisterServer() { return standin::UnregisterServedClasses(kClasses); }
