#pragma once
// The stand-in BDA MPEG-2 transport information filter: a sink for the
// demultiplexer's table sections. The suite only needs it in the graph and
// connected; it offers no guide data.

#include "dshow/BaseFilter.h"
#include "standin/demux/TifInputPin.h"

namespace standin {

class TifFilter final : public dshow::BaseFilter {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &pin : nullptr; }

 private:
  TifFilter();
  ~TifFilter() override = default;

  TifInputPin pin;
};

}  // namespace standin
