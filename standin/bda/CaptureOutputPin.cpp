#include "standin/bda/CaptureOutputPin.h"

#include <algorithm>

#include "standin/bda/FailSteps.h"
#include "standin/bda/TransportMediaType.h"

namespace standin {

namespace {
constexpr long kBufferBytes = 128 * 188;  // the tuner's chunk
constexpr long kBufferCount = 8;
}  // namespace

CaptureOutputPin::CaptureOutputPin(dshow::BaseFilter& filter) noexcept
    : OutputPin(filter, L"MPEG2 Transport") {}

HRESULT CaptureOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (StepFails(steps::kCaptureConnect)) return S_FALSE;
  return IsTransportType(mt) ? S_OK : S_FALSE;
}

HRESULT CaptureOutputPin::GetMediaType(int position, dshow::MediaType& mt) {
  return TransportType(position, mt);
}

HRESULT CaptureOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  request.cBuffers = std::max(request.cBuffers, kBufferCount);
  request.cbBuffer = std::max(request.cbBuffer, kBufferBytes);
  request.cbAlign = std::max<long>(request.cbAlign, 1);
  return S_OK;
}

}  // namespace standin
