#include "TestSourceFilter.h"

#include "graph/PlayerPinTypes.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"

#include <uuids.h>

namespace {

// {0C3E5A11-7F2B-4D8E-9A61-3B5C7D9E1F20}: not registered, created directly.
constexpr CLSID kTestSourceClsid = {
    0x0c3e5a11, 0x7f2b, 0x4d8e, {0x9a, 0x61, 0x3b, 0x5c, 0x7d, 0x9e, 0x1f, 0x20}};

}  // namespace

TestSourceFilter::TestSourceFilter() : BaseFilter(kTestSourceClsid) {}

dshow::BasePin* TestSourceFilter::PinAt(int index) {
  if (index < 0 || index >= PinCount()) return nullptr;
  return pins[static_cast<std::size_t>(index)].get();
}

HRESULT TestSourceFilter::Create(std::vector<ElementaryUnit> video,
                                 std::vector<ElementaryUnit> audio, IBaseFilter** out) try {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  Microsoft::WRL::ComPtr<TestSourceFilter> filter;
  filter = AdoptNew(new TestSourceFilter());
  // The demultiplexer's pin types as the transport-stream player creates
  // them for a program with AC-3 audio (the test streams carry AC-3).
  const PlayerPinTypes types(AudioCoding::Ac3);
  if (!video.empty()) {
    filter->pins.push_back(std::make_unique<TestSourcePin>(*filter.Get(), L"Video Pin", types.video,
                                                           std::move(video), 333667));
  }
  if (!audio.empty()) {
    filter->pins.push_back(std::make_unique<TestSourcePin>(*filter.Get(), L"Audio Pin", types.audio,
                                                           std::move(audio), 320000));
  }
  *out = filter.Detach();  // takes the creation reference
  return S_OK;
}
CATCH_RETURN()
