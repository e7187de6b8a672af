#include "tssource/TsSourcePin.h"

#include "dshow/BaseFilter.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "tssource/SourceArithmetic.h"
#include "tssource/SourceFile.h"

#include <uuids.h>

#include <algorithm>
#include <mutex>

namespace tssource {

namespace {
constexpr wchar_t kPinName[] = L"Out";
}

TsSourcePin::TsSourcePin(dshow::BaseFilter& filter, SourceFile& file) noexcept
    : SourceStream(filter, kPinName), file(file), seeking(filter, *this, file) {}

HRESULT TsSourcePin::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IMediaSeeking) return HandOut(Seeking(), object);
  return SourceStream::QueryOwnInterface(riid, object);
}

HRESULT TsSourcePin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  const bool ok = mt.majortype == MEDIATYPE_Stream && mt.subtype == MEDIASUBTYPE_MPEG2_TRANSPORT;
  return ok ? S_OK : S_FALSE;
}

HRESULT TsSourcePin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt = dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT);
  return S_OK;
}

// Called under the filter's state lock while connecting.
HRESULT TsSourcePin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  request.cBuffers = std::max<long>(request.cBuffers, 1);
  request.cbBuffer = kBlockSize;
  // Sector-aligned buffers let the file be read straight into the sample.
  request.cbAlign = std::max<long>(request.cbAlign, kSectorSize);
  return S_OK;
}

HRESULT TsSourcePin::OnThreadStartPlay() {
  discontinuityPending = true;
  const auto segment = seeking.CurrentSegment();
  return DeliverNewSegment(segment.start, segment.stop, segment.rate);
}

// The sample gets one block of the file; at the end of the file, or after a
// read error, the rest is zeros. A buffer larger than a block still carries
// one block: its data length says so, and no zeros run into the stream.
HRESULT TsSourcePin::FillBuffer(IMediaSample* sample) {
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  const long size = sample->GetSize();
  RETURN_HR_IF(E_UNEXPECTED, size <= 0);
  std::size_t copied = 0;
  const std::uint64_t block = file.ReadNextBlock(data, static_cast<std::size_t>(size), copied);
  seeking.SetStart(PositionForBlock(block));
  RETURN_IF_FAILED(sample->SetActualDataLength(std::min<long>(size, kBlockSize)));
  RETURN_IF_FAILED(sample->SetTime(nullptr, nullptr));
  RETURN_IF_FAILED(sample->SetSyncPoint(TRUE));
  RETURN_IF_FAILED(sample->SetDiscontinuity(discontinuityPending.exchange(false) ? TRUE : FALSE));
  return S_OK;
}

}  // namespace tssource
