#include "standin/bda/TransportMediaType.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include "win/HResultMacros.h"

namespace standin {

namespace {

// KSDATAFORMAT_SUBTYPE_BDA_MPEG2_TRANSPORT
constexpr GUID kBdaTransportSubtype = {
    0xF4AEB342, 0x0329, 0x4FDD, {0xA8, 0xFD, 0x4A, 0xFF, 0x49, 0x26, 0xC9, 0x78}};

}  // namespace

bool IsTransportType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Stream &&
         (mt.subtype == MEDIASUBTYPE_MPEG2_TRANSPORT || mt.subtype == kBdaTransportSubtype);
}

HRESULT TransportType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position == 0) {
    mt = dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT);
    return S_OK;
  }
  if (position == 1) {
    mt = dshow::MediaType(MEDIATYPE_Stream, kBdaTransportSubtype);
    return S_OK;
  }
  return VFW_S_NO_MORE_ITEMS;
}

}  // namespace standin
