#include "standin/demux/TifFilter.h"

#include "standin/demux/DemuxFailSteps.h"
#include "standin/demux/DemuxGuids.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"

namespace standin {

TifFilter::TifFilter() : BaseFilter(kBdaTransportInformationFilterClsid), pin(*this) {}

HRESULT TifFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kTifCreate));
  return HandOutNew(new TifFilter(), riid, object);
}
CATCH_RETURN()

}  // namespace standin
