#pragma once
// IClassFactory for one filter class: creation goes through a plain function.

#include "dshow/ServerLock.h"
#include "win/ComObject.h"

#include <windows.h>
#include <unknwn.h>

namespace dshow {

using CreateFunction = HRESULT (*)(REFIID riid, void** object);

class ClassFactory final : public ComObject<IClassFactory> {
 public:
  // Hands out a new factory for `create` as `riid`.
  static HRESULT CreateInstance(CreateFunction create, REFIID riid, void** object);

  // IClassFactory
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  explicit ClassFactory(CreateFunction create) noexcept : create(create) {}
  ~ClassFactory() override = default;

  ServerReference serverReference;
  CreateFunction create;
};

}  // namespace dshow
