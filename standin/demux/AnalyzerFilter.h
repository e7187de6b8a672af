#pragma once
// The stand-in MPEG-2 video stream analyser: one MPEG-2 video input, one
// output that carries the same video unchanged.

#include "standin/demux/AnalyzerInputPin.h"
#include "dshow/BaseFilter.h"
#include "standin/demux/CopyingOutputPin.h"

namespace standin {

class AnalyzerFilter final : public dshow::BaseFilter {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  int PinCount() override { return 2; }
  dshow::BasePin* PinAt(int index) override;

 private:
  AnalyzerFilter();
  ~AnalyzerFilter() override = default;

  AnalyzerInputPin input;  // holds a reference to `output`, used once streaming
  CopyingOutputPin output;
};

}  // namespace standin
