#pragma once
// A renderer of the test program's own: one input pin that takes anything,
// never waits for the clock, and counts what arrives.

#include "dshow/BaseFilter.h"
#include "tests/wine/shared/CountingSinkPin.h"

class CountingSink final : public dshow::BaseFilter {
 public:
  static HRESULT CreateInstance(IBaseFilter** out);

  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &pin : nullptr; }

  CountingSinkPin& Pin() noexcept { return pin; }

 private:
  CountingSink();
  ~CountingSink() override = default;

  CountingSinkPin pin;
};
