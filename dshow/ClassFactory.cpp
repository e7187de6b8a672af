#include "dshow/ClassFactory.h"

#include "win/HResultMacros.h"
#include "dshow/ServerLock.h"

#include <new>

namespace dshow {

ClassFactory::ClassFactory(CreateFunction create) noexcept : create(create) {
  ServerLock::Increment();
}

ClassFactory::~ClassFactory() { ServerLock::Decrement(); }

HRESULT ClassFactory::CreateInstance(CreateFunction create, REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  auto* factory = new (std::nothrow) ClassFactory(create);
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, factory);
  HRESULT hr = factory->QueryInterface(riid, object);
  factory->Release();
  return hr;
}

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  if (riid == IID_IUnknown || riid == IID_IClassFactory) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef() { return ++refCount; }

STDMETHODIMP_(ULONG) ClassFactory::Release() {
  ULONG left = --refCount;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(CLASS_E_NOAGGREGATION, outer != nullptr);
  return create(riid, object);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    ServerLock::Increment();
  } else {
    ServerLock::Decrement();
  }
  return S_OK;
}

}  // namespace dshow
