#include "TestSourcePin.h"

#include "win/HResultMacros.h"

#include <algorithm>
#include <cstring>

TestSourcePin::TestSourcePin(dshow::BaseFilter& filter, const wchar_t* name,
                             const AM_MEDIA_TYPE& mt, std::vector<ElementaryUnit> units,
                             REFERENCE_TIME unitDuration)
    : SourceStream(filter, name), units(std::move(units)), unitDuration(unitDuration) {
  type.Set(mt);
  std::uint64_t lastPts = 0;
  bool first = true;
  for (const ElementaryUnit& unit : this->units) {
    if (!unit.hasPts) continue;
    if (first) firstPts = unit.pts;
    first = false;
    lastPts = unit.pts;
  }
  loopLength = static_cast<REFERENCE_TIME>(lastPts - firstPts) * 1000 / 9 + unitDuration;
}

HRESULT TestSourcePin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == type->majortype && mt.subtype == type->subtype ? S_OK : S_FALSE;
}

HRESULT TestSourcePin::GetMediaType(int position, dshow::MediaType& mt) {
  if (position != 0) return VFW_S_NO_MORE_ITEMS;
  mt = type;
  return S_OK;
}

HRESULT TestSourcePin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  std::size_t largest = 1;
  for (const ElementaryUnit& unit : units) largest = std::max(largest, unit.bytes.size());
  request.cBuffers = std::max(request.cBuffers, 8L);
  request.cbBuffer = std::max(request.cbBuffer, static_cast<long>(largest));
  request.cbAlign = std::max(request.cbAlign, 1L);
  return S_OK;
}

HRESULT TestSourcePin::OnThreadStartPlay() {
  next = 0;
  return S_OK;
}

HRESULT TestSourcePin::FillBuffer(IMediaSample* sample) {
  if (units.empty()) return S_FALSE;
  const ElementaryUnit& unit = units[next % units.size()];
  const auto loop = static_cast<REFERENCE_TIME>(next / units.size());
  ++next;
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  RETURN_HR_IF(E_FAIL, sample->GetSize() < static_cast<long>(unit.bytes.size()));
  std::memcpy(data, unit.bytes.data(), unit.bytes.size());
  RETURN_IF_FAILED(sample->SetActualDataLength(static_cast<long>(unit.bytes.size())));
  if (unit.hasPts) {
    LONGLONG ptsStart = static_cast<LONGLONG>(unit.pts);
    LONGLONG ptsStop = ptsStart + 1;
    sample->SetMediaTime(&ptsStart, &ptsStop);
    REFERENCE_TIME start =
        static_cast<REFERENCE_TIME>(unit.pts - firstPts) * 1000 / 9 + loop * loopLength;
    REFERENCE_TIME stop = start + unitDuration;
    sample->SetTime(&start, &stop);
  }
  sample->SetSyncPoint(TRUE);
  sample->SetDiscontinuity(next == 1 ? TRUE : FALSE);
  return S_OK;
}
