// COM server glue of telvstandin-demux.dll: the factory table and
// registration of the demultiplexer, the transport information filter, the
// video stream analyser and the pin tee, under the platform's class ids.

#include "standin/demux/AnalyzerFilter.h"
#include "standin/demux/DemuxFilter.h"
#include "standin/demux/DemuxGuids.h"
#include "standin/demux/InfTeeFilter.h"
#include "dshow/ServerModule.h"
#include "standin/demux/TifFilter.h"
#include "standin/shared/ServedClasses.h"

#include <uuids.h>

namespace {

// The suite creates all four by class id; none is for intelligent connect to
// insert on its own.
const standin::ServedClass kClasses[] = {
    {&CLSID_MPEG2Demultiplexer, L"MPEG-2 Demultiplexer", &standin::DemuxFilter::CreateInstance,
     true, MERIT_DO_NOT_USE,
     {L"MPEG-2 Stream", false, &MEDIATYPE_Stream, &MEDIASUBTYPE_MPEG2_TRANSPORT}},
    {&kBdaTransportInformationFilterClsid, L"BDA MPEG2 Transport Information Filter",
     &standin::TifFilter::CreateInstance, true, MERIT_DO_NOT_USE,
     {L"Input", false, &MEDIATYPE_MPEG2_SECTIONS, &MEDIASUBTYPE_MPEG2DATA}},
    {&CLSID_Mpeg2VideoStreamAnalyzer, L"MPEG-2 Video Stream Analyzer",
     &standin::AnalyzerFilter::CreateInstance, true, MERIT_DO_NOT_USE,
     {L"Input", false, &MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO}},
    {&CLSID_InfTee, L"Infinite Pin Tee Filter", &standin::InfTeeFilter::CreateInstance, true,
     MERIT_DO_NOT_USE, {L"Input", false, &GUID_NULL, &GUID_NULL}},
};

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return standin::GetServedClassObject(kClasses, clsid, riid, object);
}

STDAPI DllRegisterServer() { return standin::RegisterServedClasses(dshow::ServerModule(), kClasses); }

STDAPI DllUnregisterServer() { return standin::UnregisterServedClasses(kClasses); }
