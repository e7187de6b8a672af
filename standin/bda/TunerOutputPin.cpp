#include "standin/bda/TunerOutputPin.h"

#include <algorithm>
#include <chrono>

#include "standin/bda/FailSteps.h"
#include "win/HResultMacros.h"
#include "standin/bda/TransportMediaType.h"
#include "core/ts/TsPacket.h"
#include "standin/bda/VirtualTuner.h"

namespace standin {

namespace {

constexpr long kChunkBytes = 128 * static_cast<long>(kTsPacketSize);
constexpr long kBufferCount = 8;
// How long the worker sleeps between looks at the tuning while nothing is
// received (a tune or a stop wakes it at once).
constexpr auto kIdleWait = std::chrono::milliseconds(250);

}  // namespace

TunerOutputPin::TunerOutputPin(VirtualTuner& tuner) noexcept
    : SourceStream(tuner, L"MPEG2 Transport"), tuner(tuner) {}

HRESULT TunerOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (StepFails(steps::kTunerConnect)) return S_FALSE;
  return IsTransportType(mt) ? S_OK : S_FALSE;
}

HRESULT TunerOutputPin::GetMediaType(int position, dshow::MediaType& mt) {
  return TransportType(position, mt);
}

HRESULT TunerOutputPin::Active() {
  tuner.SetStopping(false);
  return SourceStream::Active();
}

// The worker may be waiting for a chunk's time or for a signal: stopping
// wakes it before the base class joins it.
HRESULT TunerOutputPin::Inactive() {
  tuner.SetStopping(true);
  return SourceStream::Inactive();
}

HRESULT TunerOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  request.cBuffers = std::max(request.cBuffers, kBufferCount);
  request.cbBuffer = std::max(request.cbBuffer, kChunkBytes);
  request.cbAlign = std::max<long>(request.cbAlign, 1);
  return S_OK;
}

HRESULT TunerOutputPin::OnThreadStartPlay() {
  // Every run starts the stream afresh, paced from now.
  openGeneration = 0;
  file.Close();
  return DeliverNewSegment(0, MAXLONGLONG, 1.0);
}

HRESULT TunerOutputPin::FillBuffer(IMediaSample* sample) {
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  long room = std::min<long>(sample->GetSize(), kChunkBytes);
  room -= room % static_cast<long>(kTsPacketSize);
  RETURN_HR_IF(E_UNEXPECTED, room <= 0);

  for (;;) {
    if (tuner.IsStopping()) {
      // Nothing to deliver: the pin is being stopped and the empty sample
      // goes nowhere that matters.
      return sample->SetActualDataLength(0);
    }
    const VirtualTuner::Tuning tuning = tuner.CurrentTuning();
    if (tuning.generation != openGeneration) {
      openGeneration = tuning.generation;
      file.Close();
      pacer.Restart();
      pcrPid.reset();
      discontinuity = true;
      if (tuning.carried) file.Open(tuning.file);
      if (!tuner.WaitUntil(tuning.locked, openGeneration)) continue;  // retuned or stopping
    }
    if (!file.IsOpen()) {
      // No signal: wait for another tune.
      tuner.WaitUntil(std::chrono::steady_clock::now() + kIdleWait, openGeneration);
      continue;
    }
    bool looped = false;
    const std::size_t got = file.Read(data, static_cast<std::size_t>(room), looped);
    if (got == 0) {
      file.Close();  // empty or unreadable: as good as no signal
      continue;
    }
    if (looped) discontinuity = true;
    const auto pcr = LastPcrIn(std::span<const std::uint8_t>(data, got), pcrPid);
    const auto due = pacer.Schedule(got, pcr, std::chrono::steady_clock::now());
    if (!tuner.WaitUntil(due, openGeneration)) continue;  // retuned or stopping

    RETURN_IF_FAILED(sample->SetActualDataLength(static_cast<long>(got)));
    RETURN_IF_FAILED(sample->SetTime(nullptr, nullptr));
    RETURN_IF_FAILED(sample->SetSyncPoint(TRUE));
    RETURN_IF_FAILED(sample->SetDiscontinuity(discontinuity ? TRUE : FALSE));
    discontinuity = false;
    return S_OK;
  }
}

}  // namespace standin
