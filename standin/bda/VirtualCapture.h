#pragma once
// The virtual BDA capture (receiver) device: passes the tuner's transport
// stream through unchanged, samples, flags, flushes and end of stream.

#include "dshow/BaseFilter.h"
#include "standin/bda/CaptureInputPin.h"
#include "standin/bda/CaptureOutputPin.h"

namespace standin {

class VirtualCapture final : public dshow::BaseFilter {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  int PinCount() override { return 2; }
  dshow::BasePin* PinAt(int index) override;

 private:
  VirtualCapture();
  ~VirtualCapture() override = default;

  CaptureOutputPin output;
  CaptureInputPin input;
};

}  // namespace standin
