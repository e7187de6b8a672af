#include "standin/demux/CopyingOutputPin.h"

#include "win/HResultMacros.h"

#include <algorithm>
#include <cstring>

namespace standin {

namespace {
constexpr long kMinBuffers = 8;
constexpr long kMinBufferSize = 64 * 1024;
}  // namespace

CopyingOutputPin::CopyingOutputPin(dshow::BaseFilter& filter, const wchar_t* name,
                                   dshow::InputPin& source) noexcept
    : OutputPin(filter, name), source(source) {}

HRESULT CopyingOutputPin::SourceType(dshow::MediaType& mt) {
  AM_MEDIA_TYPE connection{};
  RETURN_IF_FAILED(source.ConnectionMediaType(&connection));
  const HRESULT hr = mt.Set(connection);
  dshow::FreeMediaTypeContents(connection);
  return hr;
}

// Only while the input is connected, and only its type.
HRESULT CopyingOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  dshow::MediaType input;
  if (FAILED(SourceType(input))) return S_FALSE;
  return mt.majortype == input->majortype && mt.subtype == input->subtype ? S_OK : S_FALSE;
}

HRESULT CopyingOutputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  if (FAILED(SourceType(mt))) return VFW_S_NO_MORE_ITEMS;
  return S_OK;
}

// At least the buffers the input was given, so one sample fits one buffer.
HRESULT CopyingOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  ALLOCATOR_PROPERTIES upstream{};
  Microsoft::WRL::ComPtr<IMemAllocator> inputAllocator;
  if (SUCCEEDED(source.GetAllocator(&inputAllocator))) {
    inputAllocator->GetProperties(&upstream);  // zeros when it has none yet
  }
  request.cBuffers = std::max({request.cBuffers, upstream.cBuffers, kMinBuffers});
  request.cbBuffer = std::max({request.cbBuffer, upstream.cbBuffer, kMinBufferSize});
  request.cbAlign = std::max<long>(request.cbAlign, 1);
  return S_OK;
}

HRESULT CopyingOutputPin::DeliverCopy(IMediaSample* sample) {
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  const long length = sample->GetActualDataLength();
  RETURN_HR_IF(E_UNEXPECTED, length < 0 || length > sample->GetSize());
  long at = 0;
  bool first = true;
  while (first || at < length) {
    Microsoft::WRL::ComPtr<IMediaSample> copy;
    RETURN_IF_FAILED(GetDeliveryBuffer(&copy));
    BYTE* target = nullptr;
    RETURN_IF_FAILED(copy->GetPointer(&target));
    const long take = std::min(copy->GetSize(), length - at);
    if (take > 0) std::memcpy(target, data + at, static_cast<std::size_t>(take));
    RETURN_IF_FAILED(copy->SetActualDataLength(take));
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const HRESULT timed = first ? sample->GetTime(&start, &stop) : VFW_E_SAMPLE_TIME_NOT_SET;
    if (timed == S_OK) {
      copy->SetTime(&start, &stop);
    } else if (timed == VFW_S_NO_STOP_TIME) {
      stop = start + 1;
      copy->SetTime(&start, &stop);
    } else {
      copy->SetTime(nullptr, nullptr);
    }
    LONGLONG mediaStart = 0;
    LONGLONG mediaStop = 0;
    if (first && sample->GetMediaTime(&mediaStart, &mediaStop) == S_OK) {
      copy->SetMediaTime(&mediaStart, &mediaStop);
    } else {
      copy->SetMediaTime(nullptr, nullptr);
    }
    copy->SetSyncPoint(first && sample->IsSyncPoint() == S_OK);
    copy->SetDiscontinuity(first && sample->IsDiscontinuity() == S_OK);
    copy->SetPreroll(sample->IsPreroll() == S_OK);
    AM_MEDIA_TYPE* changed = nullptr;
    if (first && sample->GetMediaType(&changed) == S_OK && changed != nullptr) {
      copy->SetMediaType(changed);
      dshow::DeleteMediaType(changed);
    }
    const HRESULT delivered = Deliver(copy.Get());
    if (delivered != S_OK) return delivered;
    at += take;
    first = false;
    if (take == 0) break;
  }
  return S_OK;
}

}  // namespace standin
