#pragma once
// Registration of an in-process filter server: the COM class key and the
// filter mapper's entry (IFilterMapper2, or IFilterMapper where the newer
// mapper cannot be created).

#include <windows.h>
#include <strmif.h>

namespace dshow {

struct FilterPinRegistration {
  const wchar_t* name;
  bool output;
  const GUID* majorType;
  const GUID* subType;
};

struct FilterRegistration {
  const CLSID* clsid;
  const wchar_t* name;
  DWORD merit;
  FilterPinRegistration pin;
};

// Writes CLSID\{clsid} (default value: the name) and its InprocServer32 key
// (the module path, ThreadingModel "Both").
HRESULT RegisterInprocServer(HMODULE module, const CLSID& clsid, const wchar_t* name);

// Removes the whole CLSID\{clsid} key tree. A missing key is no error.
HRESULT UnregisterInprocServer(const CLSID& clsid);

HRESULT RegisterFilter(const FilterRegistration& filter);
HRESULT UnregisterFilter(const CLSID& clsid);

// A server of one filter: its class key and its filter mapper entry.
HRESULT RegisterFilterServer(HMODULE module, const FilterRegistration& filter);
// Removes both; the class key goes even when the mapper's entry is already gone.
HRESULT UnregisterFilterServer(const CLSID& clsid);

}  // namespace dshow
