#include "dshow/OneFilterServer.h"

#include "dshow/ServerModule.h"
#include "win/ComScope.h"
#include "win/HResultMacros.h"

namespace dshow {

HRESULT OneFilterServer::GetClassObject(REFCLSID clsid, REFIID riid, void** object) const {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(CLASS_E_CLASSNOTAVAILABLE, clsid != *registration.clsid);
  return ClassFactory::CreateInstance(create, riid, object);
}

HRESULT OneFilterServer::Register() const {
  ComScope com;
  return RegisterFilterServer(ServerModule(), registration);
}

HRESULT OneFilterServer::Unregister() const {
  ComScope com;
  return UnregisterFilterServer(*registration.clsid);
}

}  // namespace dshow
