#include "tests/wine/shared/CountingSinkPin.h"

#include "dshow/BaseFilter.h"
#include "win/HResultMacros.h"

#include <cstdio>

CountingSinkPin::CountingSinkPin(dshow::BaseFilter& filter) noexcept : InputPin(filter, L"In") {}

HRESULT CountingSinkPin::CheckMediaType(const AM_MEDIA_TYPE&) { return S_OK; }

SinkReport CountingSinkPin::Report() {
  std::lock_guard guard(lock);
  return report;
}

void CountingSinkPin::Clear() {
  std::lock_guard guard(lock);
  report = SinkReport{};
}

HRESULT CountingSinkPin::OnEndOfStream() {
  {
    std::lock_guard guard(lock);
    ++report.endsOfStream;
  }
  return filter.NotifyEvent(EC_COMPLETE, S_OK, 0);
}

namespace {

std::string FirstSequenceSize(const BYTE* data, long length) {
  for (long i = 0; i + 7 < length; ++i) {
    if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] == 0xB3) {
      const int width = (data[i + 4] << 4) | (data[i + 5] >> 4);
      const int height = ((data[i + 5] & 0x0F) << 8) | data[i + 6];
      return std::to_string(width) + "x" + std::to_string(height);
    }
  }
  return {};
}

}  // namespace

HRESULT CountingSinkPin::OnReceive(IMediaSample* sample) {
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  const long length = sample->GetActualDataLength();
  std::lock_guard guard(lock);
  ++report.samples;
  report.bytes += length;
  if (sample->IsDiscontinuity() == S_OK) ++report.discontinuities;
  if (sample->IsSyncPoint() == S_OK) ++report.syncPoints;
  if (length >= 2 && data[0] == 0x0B && data[1] == 0x77) ++report.ac3Frames;
  LONGLONG ptsStart = 0, ptsStop = 0;
  if (sample->GetMediaTime(&ptsStart, &ptsStop) == S_OK) {
    if (report.lastPts >= 0 && ptsStart <= report.lastPts) report.ptsRising = false;
    if (report.firstPts < 0) report.firstPts = ptsStart;
    report.lastPts = ptsStart;
  } else {
    ++report.withoutPts;
  }
  REFERENCE_TIME start = 0, stop = 0;
  if (SUCCEEDED(sample->GetTime(&start, &stop))) {
    if (report.firstTime >= 0 && start <= report.lastTime) report.timeRising = false;
    if (report.firstTime < 0) report.firstTime = start;
    report.lastTime = start;
  }
  const std::string size = FirstSequenceSize(data, length);
  if (!size.empty()) {
    if (report.frameSize.empty()) report.frameSize = size;
    if (report.frameSizes.find(size) == std::string::npos) {
      report.frameSizes += (report.frameSizes.empty() ? "" : ",") + size;
    }
  }
  return S_OK;
}
