#pragma once
// A source for the decoder tests: a video and an audio pin fed from the PES
// units of a transport-stream file, standing where the demultiplexer stands.

#include "dshow/BaseFilter.h"
#include "TestSourcePin.h"

#include <memory>

class TestSourceFilter final : public dshow::BaseFilter {
 public:
  // Either list may be empty: that pin is then left out.
  static HRESULT Create(std::vector<ElementaryUnit> video, std::vector<ElementaryUnit> audio,
                        IBaseFilter** out);

  int PinCount() override { return static_cast<int>(pins.size()); }
  dshow::BasePin* PinAt(int index) override;

 private:
  TestSourceFilter();
  ~TestSourceFilter() override = default;

  std::vector<std::unique_ptr<TestSourcePin>> pins;
};
