#pragma once
// The test MPEG-2 video decoder: takes the demultiplexer's MPEG-2 video and
// puts out one RGB32 picture per coded picture, a test card that shows the
// program, the frame size of the sequence header and the stream clock from
// the PTS. It decodes nothing: the card proves that pictures of the right
// program arrive at the right rate and time.

#include "standin/decoders/FrameCounters.h"
#include "standin/decoders/Mpeg2VideoScanner.h"
#include "standin/shared/StandinInterfaces.h"
#include "dshow/TransformFilter.h"

#include <cstdint>
#include <string>

namespace decoders {

class VideoDecoderFilter final : public dshow::TransformFilter {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) override;
  HRESULT CheckOutputType(const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) override;
  HRESULT GetOutputType(const AM_MEDIA_TYPE& input, int position, dshow::MediaType& mt) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;
  HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) override;

  // IMediaFilter
  STDMETHODIMP Pause() override;

  HRESULT Receive(IMediaSample* sample) override;
  HRESULT StartStreaming() override;
  void StopStreaming() override;
  void OnEndFlush() override;

 private:
  // Where the pictures go: the visible size and how rows lie in the buffer.
  struct Layout {
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels from one row to the next in memory
    bool bottomUp = true;
  };

  VideoDecoderFilter();
  ~VideoDecoderFilter() override = default;

  // Whether the pictures of `sample` are dropped for being late.
  bool IsLateToDrop(IMediaSample* sample);
  HRESULT DeliverPicture(IMediaSample* input, bool first, std::uint64_t pts90k);
  HRESULT AdoptType(const AM_MEDIA_TYPE& mt);
  // Tells the renderer the stream's picture size when it changed.
  void TellStreamSize();
  std::string ProgramLine(int& pattern);
  VideoReport Report() const;

  // Streaming state, under the streaming lock.
  Mpeg2VideoScanner scanner;
  Layout layout;
  std::uint64_t clock90k = 0;
  DWORD frames = 0;
  int droppedInARow = 0;
  // Later than this (100 ns units) when decoded, a picture may be dropped.
  static constexpr REFERENCE_TIME kDropLateness = 3'000'000;
  static constexpr int kMostDroppedInARow = 3;
  std::string lastClock;
  std::string lastProgram;
  Microsoft::WRL::ComPtr<standin::IStandinTunedProgram> tuner;
  ULONG pid = 0;  // from the demultiplexer's pin when no virtual tuner is upstream
  // The stand-in renderer that takes the stream's size, when it is downstream.
  Microsoft::WRL::ComPtr<standin::IStandinVideoSize> sizeTaker;
  Mpeg2Sequence toldSequence;  // what it was told last since streaming started
  FrameCounters counters;
};

}  // namespace decoders
