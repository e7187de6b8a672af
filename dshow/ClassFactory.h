#pragma once
// IClassFactory for one filter class: creation goes through a plain function.

#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace dshow {

using CreateFunction = HRESULT (*)(REFIID riid, void** object);

class ClassFactory final : public IClassFactory {
 public:
  // Hands out a new factory for `create` as `riid`.
  static HRESULT CreateInstance(CreateFunction create, REFIID riid, void** object);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IClassFactory
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  explicit ClassFactory(CreateFunction create) noexcept;
  ~ClassFactory();

  CreateFunction create;
  std::atomic<ULONG> refCount{1};
};

}  // namespace dshow
