#include "graph/SectionSinkInputPin.h"

#include <uuids.h>

#include "win/HResultMacros.h"

namespace {
constexpr wchar_t kPinName[] = L"Sections";
}

SectionSinkInputPin::SectionSinkInputPin(dshow::BaseFilter& filter, SectionHandler handler)
    : InputPin(filter, kPinName), handler(std::move(handler)) {}

HRESULT SectionSinkInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype == MEDIATYPE_MPEG2_SECTIONS) return S_OK;
  if (mt.majortype == MEDIATYPE_Stream && mt.subtype == MEDIASUBTYPE_MPEG2_TRANSPORT) return S_OK;
  return S_FALSE;
}

HRESULT SectionSinkInputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt = dshow::MediaType(MEDIATYPE_MPEG2_SECTIONS, MEDIASUBTYPE_MPEG2DATA);
  return S_OK;
}

// A sample the size of which cannot be read is passed over: the next copy
// of the table comes soon.
HRESULT SectionSinkInputPin::OnReceive(IMediaSample* sample) try {
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data)) || data == nullptr) return S_OK;
  const long length = sample->GetActualDataLength();
  if (length <= 0 || length > sample->GetSize()) return S_OK;
  handler(std::span<const std::uint8_t>(data, static_cast<std::size_t>(length)));
  return S_OK;
}
CATCH_RETURN()
