#include "dshow/Registration.h"

#include "win/HResultMacros.h"
#include "win/UniqueHandle.h"

#include <uuids.h>
#include <wrl/client.h>

#include <string>

namespace dshow {

using Microsoft::WRL::ComPtr;

namespace {

namespace names {
constexpr wchar_t kClsidKey[] = L"CLSID\\";
constexpr wchar_t kInprocServer[] = L"InprocServer32";
constexpr wchar_t kThreadingModel[] = L"ThreadingModel";
constexpr wchar_t kBoth[] = L"Both";
}  // namespace names

HRESULT ClassKeyName(const CLSID& clsid, std::wstring& out) {
  wchar_t text[40];
  RETURN_HR_IF(E_UNEXPECTED, StringFromGUID2(clsid, text, 40) == 0);
  out = std::wstring(names::kClsidKey) + text;
  return S_OK;
}

HRESULT SetStringValue(HKEY key, const wchar_t* valueName, const wchar_t* value) {
  const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
  LONG rc = RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                           bytes);
  return HRESULT_FROM_WIN32(rc);
}

HRESULT CreateKey(HKEY parent, const std::wstring& name, UniqueHkey& key) {
  LONG rc = RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(),
                            nullptr);
  return HRESULT_FROM_WIN32(rc);
}

}  // namespace

HRESULT RegisterInprocServer(HMODULE module, const CLSID& clsid, const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  RETURN_LAST_ERROR_IF(length == 0);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), length >= MAX_PATH);

  std::wstring classKeyName;
  RETURN_IF_FAILED(ClassKeyName(clsid, classKeyName));
  UniqueHkey classKey;
  RETURN_IF_FAILED(CreateKey(HKEY_CLASSES_ROOT, classKeyName, classKey));
  RETURN_IF_FAILED(SetStringValue(classKey.Get(), nullptr, name));
  UniqueHkey serverKey;
  RETURN_IF_FAILED(CreateKey(classKey.Get(), names::kInprocServer, serverKey));
  RETURN_IF_FAILED(SetStringValue(serverKey.Get(), nullptr, path));
  return SetStringValue(serverKey.Get(), names::kThreadingModel, names::kBoth);
}

HRESULT UnregisterInprocServer(const CLSID& clsid) {
  std::wstring classKeyName;
  RETURN_IF_FAILED(ClassKeyName(clsid, classKeyName));
  LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, classKeyName.c_str());
  if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
  return HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterFilter(const FilterRegistration& filter) {
  REGPINTYPES type{filter.pin.majorType, filter.pin.subType};
  ComPtr<IFilterMapper2> mapper2;
  if (SUCCEEDED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&mapper2)))) {
    REGFILTERPINS pin{};
    pin.strName = const_cast<LPWSTR>(filter.pin.name);
    pin.bOutput = filter.pin.output ? TRUE : FALSE;
    pin.clsConnectsToFilter = &CLSID_NULL;  // no particular filter or pin
    pin.nMediaTypes = 1;
    pin.lpMediaType = &type;
    REGFILTER2 info{};
    info.dwVersion = 1;
    info.dwMerit = filter.merit;
    info.cPins = 1;
    info.rgPins = &pin;
    return mapper2->RegisterFilter(*filter.clsid, filter.name, nullptr,
                                   &CLSID_LegacyAmFilterCategory, nullptr, &info);
  }

  ComPtr<IFilterMapper> mapper;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&mapper)));
  RETURN_IF_FAILED(mapper->RegisterFilter(*filter.clsid, filter.name, filter.merit));
  const wchar_t* pinName = filter.pin.name;
  RETURN_IF_FAILED(mapper->RegisterPin(*filter.clsid, pinName, FALSE,
                                       filter.pin.output ? TRUE : FALSE, FALSE, FALSE,
                                       CLSID_NULL, nullptr));
  return mapper->RegisterPinType(*filter.clsid, pinName, *filter.pin.majorType,
                                 *filter.pin.subType);
}

HRESULT UnregisterFilter(const CLSID& clsid) {
  ComPtr<IFilterMapper2> mapper2;
  if (SUCCEEDED(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&mapper2)))) {
    HRESULT hr = mapper2->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, clsid);
    // Not registered (any more) is what we want.
    if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return S_OK;
    return hr;
  }
  ComPtr<IFilterMapper> mapper;
  RETURN_IF_FAILED(CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(&mapper)));
  return mapper->UnregisterFilter(clsid);
}

HRESULT RegisterFilterServer(HMODULE module, const FilterRegistration& filter) {
  RETURN_IF_FAILED(RegisterInprocServer(module, *filter.clsid, filter.name));
  return RegisterFilter(filter);
}

HRESULT UnregisterFilterServer(const CLSID& clsid) {
  const HRESULT filterResult = UnregisterFilter(clsid);
  RETURN_IF_FAILED(UnregisterInprocServer(clsid));
  return filterResult;
}

}  // namespace dshow
