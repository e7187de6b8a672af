#pragma once
// A renderer of our own for the tests: counts the transport stream it gets.

#include "dshow/BaseFilter.h"
#include "CountingSinkPin.h"
#include "StreamCounter.h"

class CountingSink final : public dshow::BaseFilter {
 public:
  static HRESULT Create(CountingSink** sink);

  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &pin : nullptr; }

  StreamCounter& Counter() { return counter; }

 private:
  CountingSink();
  ~CountingSink() override = default;

  StreamCounter counter;
  CountingSinkPin pin;
};
