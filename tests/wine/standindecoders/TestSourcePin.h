#pragma once
// One output pin of the test source: delivers the units of one elementary
// stream in a loop, as the demultiplexer does: the raw 90 kHz PTS as the
// sample's media time and stream time (from the first PTS on) as its time.

#include "ElementaryUnits.h"
#include "dshow/SourceStream.h"

#include <memory>

class TestSourcePin final : public dshow::SourceStream {
 public:
  TestSourcePin(dshow::BaseFilter& filter, const wchar_t* name, const AM_MEDIA_TYPE& type,
                std::vector<ElementaryUnit> units, REFERENCE_TIME unitDuration);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;
  HRESULT FillBuffer(IMediaSample* sample) override;
  HRESULT OnThreadStartPlay() override;

 private:
  dshow::MediaType type;
  std::vector<ElementaryUnit> units;
  REFERENCE_TIME unitDuration;
  std::uint64_t firstPts = 0;
  REFERENCE_TIME loopLength = 0;  // how far each loop moves the times on
  std::size_t next = 0;           // worker thread only
};
