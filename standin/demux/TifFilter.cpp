#include "TifFilter.h"

#include "DemuxFailSteps.h"
#include "DemuxGuids.h"
#include "HResultMacros.h"
#include "StandinSettings.h"

namespace standin {

TifFilter::TifFilter() : BaseFilter(kBdaTransportInformationFilterClsid), pin(*this) {}

HRESULT TifFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kTifCreate));
  auto* filter = new TifFilter();
  HRESULT hr = filter->QueryInterface(riid, object);
  filter->Release();
  return hr;
}
CATCH_RETURN()

}  // namespace standin
