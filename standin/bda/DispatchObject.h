#pragma once
// The IUnknown and IDispatch plumbing of the BDA tuning objects: our COM
// object base, a reference that keeps the server loaded while the object
// lives, and an IDispatch without type information (the suite calls the
// objects through their vtables only). The concrete class answers
// QueryInterface in QueryOwnInterface.

#include <windows.h>
#include <oaidl.h>

#include "dshow/ServerLock.h"
#include "win/ComObject.h"

namespace standin {

template <typename Interface>
class DispatchObject : public ComObject<Interface> {
 public:

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
  DispatchObject() noexcept = default;
  ~DispatchObject() override = default;

 private:
  dshow::ServerReference serverReference;
};

// Copies a property's value to an out parameter.
template <typename T>
HRESULT Get(const T& field, T* out) {
  if (out == nullptr) return E_POINTER;
  *out = field;
  return S_OK;
}

// Copies a text into a new BSTR for an out parameter.
inline HRESULT CopyBstr(const wchar_t* text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = SysAllocString(text);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace standin
