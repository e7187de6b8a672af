#include "standin/decoders/VmrRegistration.h"

#include "win/HResultMacros.h"
#include "win/UniqueHandle.h"

#include <uuids.h>

#include <cwchar>
#include <vector>

namespace decoders {

namespace {

namespace names {
constexpr wchar_t kServerKey[] = L"CLSID\\{B87BEB7B-8D29-423F-AE4D-6582C10175AC}\\InprocServer32";
constexpr wchar_t kThreadingModel[] = L"ThreadingModel";
constexpr wchar_t kSavedServer[] = L"TelvantisStandinOriginal";
constexpr wchar_t kSavedThreadingModel[] = L"TelvantisStandinOriginalThreadingModel";
constexpr wchar_t kBoth[] = L"Both";
constexpr wchar_t kDefaultServer[] = L"quartz.dll";
}  // namespace names

// A string value, or false when it is missing or not a string.
bool ReadString(HKEY key, const wchar_t* name, std::wstring& out) {
  DWORD bytes = 0;
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS) {
    return false;
  }
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr,
                   buffer.data(), &bytes) != ERROR_SUCCESS) {
    return false;
  }
  out = buffer.data();
  return true;
}

HRESULT WriteString(HKEY key, const wchar_t* name, const std::wstring& text) {
  const LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  return HRESULT_FROM_WIN32(rc);
}

HRESULT ModulePath(HMODULE module, std::wstring& out) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  RETURN_LAST_ERROR_IF(length == 0);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), length >= MAX_PATH);
  out = path;
  return S_OK;
}

bool IsOurs(const std::wstring& server, const std::wstring& ourPath) {
  return _wcsicmp(server.c_str(), ourPath.c_str()) == 0;
}

}  // namespace

HRESULT RegisterVmrWrapper(HMODULE module) {
  std::wstring ourPath;
  RETURN_IF_FAILED(ModulePath(module, ourPath));
  UniqueHkey key;
  RETURN_IF_FAILED(HRESULT_FROM_WIN32(RegCreateKeyExW(HKEY_CLASSES_ROOT, names::kServerKey, 0,
                                                      nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                                      key.Put(), nullptr)));
  std::wstring current, saved;
  const bool hasCurrent = ReadString(key.Get(), nullptr, current);
  // Registering twice must not save our own entry as the original.
  if (!ReadString(key.Get(), names::kSavedServer, saved) &&
      !(hasCurrent && IsOurs(current, ourPath))) {
    RETURN_IF_FAILED(
        WriteString(key.Get(), names::kSavedServer, hasCurrent ? current : names::kDefaultServer));
    std::wstring model;
    if (!ReadString(key.Get(), names::kThreadingModel, model)) model = names::kBoth;
    RETURN_IF_FAILED(WriteString(key.Get(), names::kSavedThreadingModel, model));
  }
  RETURN_IF_FAILED(WriteString(key.Get(), nullptr, ourPath));
  return WriteString(key.Get(), names::kThreadingModel, names::kBoth);
}

HRESULT UnregisterVmrWrapper(HMODULE module) {
  std::wstring ourPath;
  RETURN_IF_FAILED(ModulePath(module, ourPath));
  UniqueHkey key;
  const LONG rc = RegOpenKeyExW(HKEY_CLASSES_ROOT, names::kServerKey, 0, KEY_READ | KEY_WRITE,
                                key.Put());
  if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
  RETURN_IF_FAILED(HRESULT_FROM_WIN32(rc));
  std::wstring saved, model, current;
  if (!ReadString(key.Get(), names::kSavedServer, saved)) {
    // Nothing saved: only an entry of ours is put right.
    if (!ReadString(key.Get(), nullptr, current) || !IsOurs(current, ourPath)) return S_OK;
    saved = names::kDefaultServer;
  }
  if (!ReadString(key.Get(), names::kSavedThreadingModel, model)) model = names::kBoth;
  RETURN_IF_FAILED(WriteString(key.Get(), nullptr, saved));
  RETURN_IF_FAILED(WriteString(key.Get(), names::kThreadingModel, model));
  // Gone already is as good as deleted.
  RegDeleteValueW(key.Get(), names::kSavedServer);
  RegDeleteValueW(key.Get(), names::kSavedThreadingModel);
  return S_OK;
}

std::wstring OriginalVmrServer() {
  UniqueHkey key;
  std::wstring server;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, names::kServerKey, 0, KEY_READ, key.Put()) ==
          ERROR_SUCCESS &&
      ReadString(key.Get(), names::kSavedServer, server) && !server.empty()) {
    return server;
  }
  return names::kDefaultServer;
}

}  // namespace decoders
