#include "CountingSinkPin.h"

#include <uuids.h>

CountingSinkPin::CountingSinkPin(dshow::BaseFilter& filter, StreamCounter& counter) noexcept
    : InputPin(filter, L"In"), counter(counter) {}

HRESULT CountingSinkPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

HRESULT CountingSinkPin::OnReceive(IMediaSample* sample) {
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return S_OK;  // nothing to count
  const long length = sample->GetActualDataLength();
  if (length > 0) counter.Add(data, static_cast<std::size_t>(length), sample->IsDiscontinuity() == S_OK);
  return S_OK;
}
