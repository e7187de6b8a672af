// COM server glue of telvstandin-decoders.dll: the factory table, the filter
// mapper entries of the two test decoders, and the VMR-7 wrapper's entry.

#include "standin/decoders/AudioDecoderFilter.h"
#include "dshow/ClassFactory.h"
#include "win/ComScope.h"
#include "standin/decoders/DecoderGuids.h"
#include "win/HResultMacros.h"
#include "dshow/Registration.h"
#include "dshow/ServerModule.h"
#include "standin/decoders/VideoDecoderFilter.h"
#include "standin/decoders/VmrLetterboxWrapper.h"
#include "standin/decoders/VmrRegistration.h"

#include <uuids.h>
#include <wrl/client.h>

namespace {

using Microsoft::WRL::ComPtr;

// The AC-3 wave format tag as a subtype (see AudioDecoderFilter.cpp).
constexpr GUID kSubtypeAc3WaveTag = {
    0x00002000, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

const REGPINTYPES kVideoInputTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_MPEG2_VIDEO},
                                        {&MEDIATYPE_MPEG2_PES, &MEDIASUBTYPE_MPEG2_VIDEO}};
const REGPINTYPES kVideoOutputTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};
const REGPINTYPES kAudioInputTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_DOLBY_AC3},
                                        {&MEDIATYPE_MPEG2_PES, &MEDIASUBTYPE_DOLBY_AC3},
                                        {&MEDIATYPE_Audio, &MEDIASUBTYPE_DOLBY_AC3_SPDIF},
                                        {&MEDIATYPE_Audio, &kSubtypeAc3WaveTag}};
const REGPINTYPES kAudioOutputTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};

struct DecoderEntry {
  const CLSID* clsid;
  const wchar_t* name;
  dshow::CreateFunction create;
  const wchar_t* inputName;
  const REGPINTYPES* inputTypes;
  UINT inputCount;
  const wchar_t* outputName;
  const REGPINTYPES* outputTypes;
  UINT outputCount;
};

const DecoderEntry kDecoders[] = {
    {&kVideoDecoderClsid, kVideoDecoderName, &decoders::VideoDecoderFilter::CreateInstance,
     L"MPEG-2 Video", kVideoInputTypes, 2, L"Video", kVideoOutputTypes, 1},
    {&kAudioDecoderClsid, kAudioDecoderName, &decoders::AudioDecoderFilter::CreateInstance,
     L"AC-3", kAudioInputTypes, 4, L"PCM", kAudioOutputTypes, 1},
};

// A normal merit, so that intelligent connect and the system check find them.
HRESULT RegisterDecoder(IFilterMapper2* mapper, const DecoderEntry& entry) {
  REGFILTERPINS pins[2] = {};
  pins[0].strName = const_cast<LPWSTR>(entry.inputName);
  pins[0].nMediaTypes = entry.inputCount;
  pins[0].lpMediaType = entry.inputTypes;
  pins[1].strName = const_cast<LPWSTR>(entry.outputName);
  pins[1].bOutput = TRUE;
  pins[1].nMediaTypes = entry.outputCount;
  pins[1].lpMediaType = entry.outputTypes;
  REGFILTER2 info{};
  info.dwVersion = 1;
  info.dwMerit = MERIT_NORMAL;
  info.cPins = 2;
  info.rgPins = pins;
  return mapper->RegisterFilter(*entry.clsid, entry.name, nullptr, &CLSID_LegacyAmFilterCategory,
                                nullptr, &info);
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  for (const DecoderEntry& entry : kDecoders) {
    if (clsid == *entry.clsid) return dshow::ClassFactory::CreateInstance(entry.create, riid, object);
  }
  if (clsid == CLSID_VideoMixingRenderer) {
    return dshow::ClassFactory::CreateInstance(&decoders::VmrLetterboxWrapper::CreateInstance,
                                               riid, object);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer() {
  ComScope com;
  ComPtr<IFilterMapper2> mapper;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&mapper)));
  for (const DecoderEntry& entry : kDecoders) {
    RETURN_IF_FAILED(dshow::RegisterInprocServer(dshow::ServerModule(), *entry.clsid, entry.name));
    RETURN_IF_FAILED(RegisterDecoder(mapper.Get(), entry));
  }
  return decoders::RegisterVmrWrapper(dshow::ServerModule());
}

STDAPI DllUnregisterServer() {
  ComScope com;
  // Everything is undone that can be; the first failure is reported.
  HRESULT result = decoders::UnregisterVmrWrapper(dshow::ServerModule());
  for (const DecoderEntry& entry : kDecoders) {
    HRESULT hr = dshow::UnregisterFilter(*entry.clsid);
    if (SUCCEEDED(hr)) hr = dshow::UnregisterInprocServer(*entry.clsid);
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}
