#include "dshow/EnumPins.h"

#include "dshow/BaseFilter.h"
#include "dshow/BasePin.h"
#include "win/HResultMacros.h"

#include <mutex>
#include <new>

namespace dshow {

EnumPins::EnumPins(BaseFilter* filter, ULONG position) noexcept
    : holder(filter), filter(filter), position(position) {}

HRESULT EnumPins::CreateInstance(BaseFilter* filter, ULONG position, IEnumPins** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = new (std::nothrow) EnumPins(filter, position);
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, *out);
  return S_OK;
}

STDMETHODIMP EnumPins::QueryInterface(REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  if (riid == IID_IUnknown || riid == IID_IEnumPins) {
    *object = static_cast<IEnumPins*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EnumPins::AddRef() { return ++refCount; }

STDMETHODIMP_(ULONG) EnumPins::Release() {
  ULONG left = --refCount;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP EnumPins::Next(ULONG count, IPin** pins, ULONG* fetched) {
  RETURN_HR_IF_NULL(E_POINTER, pins);
  RETURN_HR_IF(E_INVALIDARG, count > 1 && fetched == nullptr);
  std::lock_guard lock(filter->StateLock());
  ULONG done = 0;
  while (done < count && position < static_cast<ULONG>(filter->PinCount())) {
    pins[done] = filter->PinAt(static_cast<int>(position));
    pins[done]->AddRef();
    ++done;
    ++position;
  }
  if (fetched != nullptr) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

STDMETHODIMP EnumPins::Skip(ULONG count) {
  std::lock_guard lock(filter->StateLock());
  const ULONG total = static_cast<ULONG>(filter->PinCount());
  if (position + count > total) {
    position = total;
    return S_FALSE;
  }
  position += count;
  return S_OK;
}

STDMETHODIMP EnumPins::Reset() {
  position = 0;
  return S_OK;
}

STDMETHODIMP EnumPins::Clone(IEnumPins** out) { return CreateInstance(filter, position, out); }

}  // namespace dshow
