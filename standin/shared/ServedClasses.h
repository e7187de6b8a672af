#pragma once
// The class table of a stand-in COM server and the work of its exported
// entry points over that table: handing out class factories, and writing and
// removing each class's key and, for filters, its filter mapper entry. The
// table itself stays in the server's dllmain.cpp.

#include "dshow/ClassFactory.h"
#include "dshow/Registration.h"

#include <windows.h>
#include <strmif.h>

#include <span>

namespace standin {

struct ServedClass {
  const CLSID* clsid;
  const wchar_t* name;
  dshow::CreateFunction create;
  // Filters are also listed with the filter mapper, under this merit and pin.
  bool filter = false;
  DWORD merit = MERIT_DO_NOT_USE;
  dshow::FilterPinRegistration pin{};
};

// DllGetClassObject: a class factory for the served class `clsid`.
HRESULT GetServedClassObject(std::span<const ServedClass> classes, REFCLSID clsid, REFIID riid,
                             void** object);

// DllRegisterServer: stops at the first failure.
HRESULT RegisterServedClasses(HMODULE module, std::span<const ServedClass> classes);

// DllUnregisterServer: everything is removed that can be; the first failure
// is reported.
HRESULT UnregisterServedClasses(std::span<const ServedClass> classes);

}  // namespace standin
