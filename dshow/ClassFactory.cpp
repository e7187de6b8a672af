#include "dshow/ClassFactory.h"

#include "win/HResultMacros.h"

namespace dshow {

HRESULT ClassFactory::CreateInstance(CreateFunction create, REFIID riid, void** object) try {
  return HandOutNew(new ClassFactory(create), riid, object);
}
CATCH_RETURN()

HRESULT ClassFactory::QueryOwnInterface(REFIID riid, void** object) {
  IClassFactory* self = this;
  return HandOutInterface(riid, object, {{IID_IUnknown, self}, {IID_IClassFactory, self}});
}

// The creation function catches what it throws; this guards against one that
// does not.
STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(CLASS_E_NOAGGREGATION, outer != nullptr);
  return create(riid, object);
}
CATCH_RETURN()

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    ServerLock::Increment();
  } else {
    ServerLock::Decrement();
  }
  return S_OK;
}

}  // namespace dshow
