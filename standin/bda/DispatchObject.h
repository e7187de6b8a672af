#pragma once
// The IUnknown and IDispatch plumbing of the BDA tuning objects: a reference
// count that keeps the server loaded while the object lives, and an IDispatch
// without type information (the suite calls the objects through their
// vtables only). The concrete class answers QueryInterface.

#include <windows.h>
#include <oaidl.h>

#include <atomic>

#include "dshow/ServerLock.h"

namespace standin {

template <typename Interface>
class DispatchObject : public Interface {
 public:
  STDMETHODIMP_(ULONG) AddRef() override { return ++refCount; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refCount;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return E_NOTIMPL;
  }

 protected:
  DispatchObject() noexcept { dshow::ServerLock::Increment(); }
  virtual ~DispatchObject() { dshow::ServerLock::Decrement(); }

  // Hands out `self` as the interface asked for, with a reference.
  template <typename As>
  HRESULT Hand(As* self, void** object) {
    *object = self;
    AddRef();
    return S_OK;
  }

 private:
  std::atomic<ULONG> refCount{1};
};

// Copies a text into a new BSTR for an out parameter.
inline HRESULT CopyBstr(const wchar_t* text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = SysAllocString(text);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace standin
