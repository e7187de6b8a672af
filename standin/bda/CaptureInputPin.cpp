#include "standin/bda/CaptureInputPin.h"

#include <cstring>

#include <wrl/client.h>

#include "standin/bda/CaptureOutputPin.h"
#include "win/HResultMacros.h"
#include "standin/bda/TransportMediaType.h"

namespace standin {

CaptureInputPin::CaptureInputPin(dshow::BaseFilter& filter, CaptureOutputPin& output) noexcept
    : ForwardingInputPin(filter, L"MPEG2 Transport In", output) {}

HRESULT CaptureInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return IsTransportType(mt) ? S_OK : S_FALSE;
}

// Downstream not connected or refusing: the sample is dropped, as a capture
// device with nothing behind it would.
HRESULT CaptureInputPin::OnReceive(IMediaSample* sample) {
  const long length = sample->GetActualDataLength();
  if (length <= 0 || !output.IsConnected()) return S_OK;
  BYTE* source = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&source));

  Microsoft::WRL::ComPtr<IMediaSample> copy;
  RETURN_IF_FAILED(output.GetDeliveryBuffer(&copy));
  BYTE* target = nullptr;
  RETURN_IF_FAILED(copy->GetPointer(&target));
  RETURN_HR_IF(E_UNEXPECTED, copy->GetSize() < length);
  std::memcpy(target, source, static_cast<std::size_t>(length));
  RETURN_IF_FAILED(copy->SetActualDataLength(length));
  REFERENCE_TIME start = 0, stop = 0;
  const HRESULT timed = sample->GetTime(&start, &stop);
  if (timed == S_OK) {
    RETURN_IF_FAILED(copy->SetTime(&start, &stop));
  } else {
    RETURN_IF_FAILED(copy->SetTime(nullptr, nullptr));
  }
  RETURN_IF_FAILED(copy->SetSyncPoint(sample->IsSyncPoint() == S_OK ? TRUE : FALSE));
  RETURN_IF_FAILED(copy->SetDiscontinuity(sample->IsDiscontinuity() == S_OK ? TRUE : FALSE));
  return output.Deliver(copy.Get());
}

}  // namespace standin
