#include "dshow/EnumMediaTypes.h"

#include "dshow/BasePin.h"
#include "dshow/MediaType.h"
#include "win/HResultMacros.h"

namespace dshow {

MediaTypeList::MediaTypeList(BasePin* pin) noexcept : holder(pin), pin(pin) {}

// The pin's list ends at the first position it has no type for.
HRESULT MediaTypeList::Get(ULONG index, AM_MEDIA_TYPE*& type) {
  MediaType mt;
  if (pin->GetMediaType(static_cast<int>(index), mt) != S_OK) return S_FALSE;
  type = CreateMediaTypeCopy(*mt);
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, type);
  return S_OK;
}

ULONG MediaTypeList::Count() {
  ULONG count = 0;
  MediaType mt;
  while (pin->GetMediaType(static_cast<int>(count), mt) == S_OK) ++count;
  return count;
}

void MediaTypeList::Free(AM_MEDIA_TYPE*& type) noexcept {
  DeleteMediaType(type);
  type = nullptr;
}

}  // namespace dshow
