#include "standin/shared/ServedClasses.h"

#include "win/ComScope.h"
#include "win/HResultMacros.h"

namespace standin {

HRESULT GetServedClassObject(std::span<const ServedClass> classes, REFCLSID clsid, REFIID riid,
                             void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  for (const ServedClass& served : classes) {
    if (clsid == *served.clsid) return dshow::ClassFactory::CreateInstance(served.create, riid, object);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterServedClasses(HMODULE module, std::span<const ServedClass> classes) {
  ComScope com;
  for (const ServedClass& served : classes) {
    RETURN_IF_FAILED(dshow::RegisterInprocServer(module, *served.clsid, served.name));
    if (served.filter) {
      RETURN_IF_FAILED(dshow::RegisterFilter({served.clsid, served.name, served.merit, served.pin}));
    }
  }
  return S_OK;
}

HRESULT UnregisterServedClasses(std::span<const ServedClass> classes) {
  ComScope com;
  HRESULT result = S_OK;
  for (const ServedClass& served : classes) {
    // The class key goes even when the mapper's entry is already gone.
    const HRESULT filterResult = served.filter ? dshow::UnregisterFilter(*served.clsid) : S_OK;
    const HRESULT classResult = dshow::UnregisterInprocServer(*served.clsid);
    if (SUCCEEDED(result)) result = FAILED(classResult) ? classResult : filterResult;
  }
  return result;
}

}  // namespace standin
