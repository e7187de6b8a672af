#include "standin/demux/AnalyzerFilter.h"

#include "standin/demux/DemuxFailSteps.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"

#include <uuids.h>

namespace standin {

namespace {
constexpr wchar_t kOutputName[] = L"Output";
}

AnalyzerFilter::AnalyzerFilter()
    : BaseFilter(CLSID_Mpeg2VideoStreamAnalyzer), input(*this, output), output(*this, kOutputName, input) {}

HRESULT AnalyzerFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kAnalyzerCreate));
  return HandOutNew(new AnalyzerFilter(), riid, object);
}
CATCH_RETURN()

dshow::BasePin* AnalyzerFilter::PinAt(int index) {
  if (index == 0) return &input;
  if (index == 1) return &output;
  return nullptr;
}

}  // namespace standin
