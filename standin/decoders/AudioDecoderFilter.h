#pragma once
// The test AC-3 decoder: takes AC-3 from the demultiplexer and puts out
// 48 kHz 16-bit stereo PCM silence, 1536 samples for each whole AC-3 frame,
// with the input's time stamps. The sound renderer so gets a stream that
// keeps time like the real one.

#include "standin/decoders/Ac3FrameCounter.h"
#include "standin/decoders/FrameCounters.h"
#include "dshow/TransformFilter.h"

namespace decoders {

class AudioDecoderFilter final : public dshow::TransformFilter {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CheckOutputType(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) override;
  HRESULT GetOutputType(const AM_MEDIA_TYPE& input, int position, dshow::MediaType& mt) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;
  HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) override;

  HRESULT Receive(IMediaSample* sample) override;
  HRESULT StartStreaming() override;
  void StopStreaming() override;
  void OnEndFlush() override;

 private:
  AudioDecoderFilter();
  ~AudioDecoderFilter() override = default;

  // Streaming state, under the streaming lock.
  Ac3FrameCounter counter;
  DWORD frames = 0;
  FrameCounters counters;
};

}  // namespace decoders
