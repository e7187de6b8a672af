#pragma once
// A renderer of PSI sections: its one input takes the sections of a
// demultiplexer pin mapped for them and hands each to a callback, on the
// streaming thread. Made in process with `new` by the code that uses it,
// registered nowhere.

#include "dshow/BaseFilter.h"
#include "graph/SectionSinkInputPin.h"

class SectionSinkFilter final : public dshow::BaseFilter {
 public:
  // The filter with its creator's reference, or a failure (out of memory).
  static HRESULT Create(SectionSinkInputPin::SectionHandler handler, IBaseFilter** filter);

  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &input : nullptr; }

 private:
  explicit SectionSinkFilter(SectionSinkInputPin::SectionHandler handler);
  ~SectionSinkFilter() override = default;

  SectionSinkInputPin input;
};
