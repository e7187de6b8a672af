#pragma once
// What the three entry points of a COM server holding one filter do: hand
// out the filter's class factory, and register or unregister the server's
// class key and the filter mapper's entry. Each server's dllmain.cpp keeps
// its registration data and forwards its exports here.

#include <windows.h>

#include "dshow/ClassFactory.h"
#include "dshow/Registration.h"

namespace dshow {

struct OneFilterServer {
  FilterRegistration registration;
  CreateFunction create;

  // DllGetClassObject: the factory, for the filter's class id only.
  HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object) const;
  // DllRegisterServer and DllUnregisterServer, with COM set up for the call.
  HRESULT Register() const;
  HRESULT Unregister() const;
};

}  // namespace dshow
