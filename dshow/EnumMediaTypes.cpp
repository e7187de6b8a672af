#include "dshow/EnumMediaTypes.h"

#include "dshow/BasePin.h"
#include "win/HResultMacros.h"

#include <new>

namespace dshow {

EnumMediaTypes::EnumMediaTypes(BasePin* pin, ULONG position) noexcept
    : holder(pin), pin(pin), position(position) {}

HRESULT EnumMediaTypes::CreateInstance(BasePin* pin, ULONG position, IEnumMediaTypes** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = new (std::nothrow) EnumMediaTypes(pin, position);
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, *out);
  return S_OK;
}

STDMETHODIMP EnumMediaTypes::QueryInterface(REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  if (riid == IID_IUnknown || riid == IID_IEnumMediaTypes) {
    *object = static_cast<IEnumMediaTypes*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EnumMediaTypes::AddRef() { return ++refCount; }

STDMETHODIMP_(ULONG) EnumMediaTypes::Release() {
  ULONG left = --refCount;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP EnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) {
  RETURN_HR_IF_NULL(E_POINTER, types);
  RETURN_HR_IF(E_INVALIDARG, count > 1 && fetched == nullptr);
  ULONG done = 0;
  while (done < count) {
    MediaType mt;
    if (pin->GetMediaType(static_cast<int>(position), mt) != S_OK) break;
    types[done] = CreateMediaTypeCopy(*mt);
    if (types[done] == nullptr) {
      while (done > 0) DeleteMediaType(types[--done]);
      if (fetched != nullptr) *fetched = 0;
      return E_OUTOFMEMORY;
    }
    ++done;
    ++position;
  }
  if (fetched != nullptr) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

STDMETHODIMP EnumMediaTypes::Skip(ULONG count) {
  position += count;
  MediaType mt;
  return pin->GetMediaType(static_cast<int>(position) - 1, mt) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP EnumMediaTypes::Reset() {
  position = 0;
  return S_OK;
}

STDMETHODIMP EnumMediaTypes::Clone(IEnumMediaTypes** out) {
  return CreateInstance(pin, position, out);
}

}  // namespace dshow
