#include "graph/SectionSinkFilter.h"

#include "win/ComObject.h"
#include "win/HResultMacros.h"

SectionSinkFilter::SectionSinkFilter(SectionSinkInputPin::SectionHandler handler)
    : BaseFilter(GUID_NULL), input(*this, std::move(handler)) {}

HRESULT SectionSinkFilter::Create(SectionSinkInputPin::SectionHandler handler, IBaseFilter** filter) try {
  RETURN_HR_IF_NULL(E_POINTER, filter);
  *filter = nullptr;
  return HandOutNew(new SectionSinkFilter(std::move(handler)), IID_IBaseFilter,
                    reinterpret_cast<void**>(filter));
}
CATCH_RETURN()
