#pragma once
// The virtual tuner's transport-stream output: its worker reads the tuned RF
// channel's file chunk by chunk, from the start again at its end, and
// delivers each chunk when the stream's clock says it is due. The first
// chunk after a tune and after each loop carries the discontinuity flag, so
// the demultiplexer knows that the clock jumped.

#include <optional>

#include "standin/bda/LoopingFile.h"
#include "standin/bda/PcrPacer.h"
#include "dshow/SourceStream.h"

namespace standin {

class VirtualTuner;

class TunerOutputPin final : public dshow::SourceStream {
 public:
  explicit TunerOutputPin(VirtualTuner& tuner) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  HRESULT Active() override;
  HRESULT Inactive() override;

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  HRESULT OnThreadStartPlay() override;

 private:
  VirtualTuner& tuner;

  // Used by the worker thread only.
  LoopingFile file;
  PcrPacer pacer;
  std::optional<std::uint16_t> pcrPid;
  ULONG openGeneration = 0;
  bool discontinuity = true;
};

}  // namespace standin
