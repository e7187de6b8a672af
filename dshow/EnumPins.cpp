#include "dshow/EnumPins.h"

#include "dshow/BaseFilter.h"
#include "dshow/BasePin.h"

#include <mutex>

namespace dshow {

PinList::PinList(BaseFilter* filter) noexcept : holder(filter), filter(filter) {}

HRESULT PinList::Get(ULONG index, IPin*& pin) {
  std::lock_guard lock(filter->StateLock());
  if (index >= static_cast<ULONG>(filter->PinCount())) return S_FALSE;
  pin = filter->PinAt(static_cast<int>(index));
  pin->AddRef();
  return S_OK;
}

ULONG PinList::Count() {
  std::lock_guard lock(filter->StateLock());
  return static_cast<ULONG>(filter->PinCount());
}

void PinList::Free(IPin*& pin) noexcept {
  pin->Release();
  pin = nullptr;
}

}  // namespace dshow
