#include "standin/streambuffer/ConfigObject.h"

#include "win/HResultMacros.h"
#include "win/TaskMemText.h"

#include <cwchar>

namespace standin {

HRESULT ConfigObject::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  return HandOutNew(new ConfigObject(), riid, object);
}
CATCH_RETURN()

HRESULT ConfigObject::QueryOwnInterface(REFIID riid, void** object) {
  return HandOutInterface(riid, object,
                          {{IID_IUnknown, static_cast<IStreamBufferConfigure*>(this)},
                           {IID_IStreamBufferConfigure, static_cast<IStreamBufferConfigure*>(this)},
                           {IID_IStreamBufferInitialize, static_cast<IStreamBufferInitialize*>(this)}});
}

// The settings go to the key (when one was given) and to the process, where
// a sink without a key of its own finds them.
HRESULT ConfigObject::Keep() {
  SetProcessBufferSettings(settings);
  return WriteBufferSettings(key.Get(), settings);
}

STDMETHODIMP ConfigObject::SetDirectory(LPCWSTR directory) try {
  RETURN_HR_IF_NULL(E_POINTER, directory);
  const std::size_t length = wcsnlen(directory, MAX_PATH);
  RETURN_HR_IF(E_INVALIDARG, length == 0);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), length >= MAX_PATH - 40);
  std::lock_guard guard(lock);
  BufferSettings changed = settings;
  changed.directory.assign(directory, length);
  std::wstring prepared;
  RETURN_IF_FAILED(PrepareDirectory(changed, prepared));
  settings = changed;
  return Keep();
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::GetDirectory(LPWSTR* directory) try {
  RETURN_HR_IF_NULL(E_POINTER, directory);
  *directory = nullptr;
  std::lock_guard guard(lock);
  std::wstring prepared;
  RETURN_IF_FAILED(PrepareDirectory(settings, prepared));
  return CopyToTaskMem(settings.directory.empty() ? prepared : settings.directory, directory);
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::SetBackingFileCount(DWORD minimum, DWORD maximum) try {
  RETURN_HR_IF(E_INVALIDARG, minimum < kMinimumFiles || maximum < minimum || maximum > kMaximumFiles);
  std::lock_guard guard(lock);
  settings.minimum = minimum;
  settings.maximum = maximum;
  return Keep();
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::GetBackingFileCount(DWORD* minimum, DWORD* maximum) try {
  RETURN_HR_IF(E_POINTER, minimum == nullptr || maximum == nullptr);
  std::lock_guard guard(lock);
  *minimum = settings.minimum;
  *maximum = settings.maximum;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::SetBackingFileDuration(DWORD seconds) try {
  RETURN_HR_IF(E_INVALIDARG, seconds < kMinimumSeconds);
  std::lock_guard guard(lock);
  settings.seconds = seconds;
  return Keep();
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::GetBackingFileDuration(DWORD* seconds) try {
  RETURN_HR_IF_NULL(E_POINTER, seconds);
  std::lock_guard guard(lock);
  *seconds = settings.seconds;
  return S_OK;
}
CATCH_RETURN()

// The key's values, when it holds any, are the settings from now on; the
// program closes its own handle, so the object keeps a copy.
STDMETHODIMP ConfigObject::SetHKEY(HKEY newKey) try {
  std::lock_guard guard(lock);
  key.Reset(DuplicateKey(newKey));
  RETURN_HR_IF(E_INVALIDARG, newKey != nullptr && !key.IsValid());
  settings = ReadBufferSettings(key.Get(), settings);
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::SetSIDs(DWORD, PSID*) { return S_OK; }

}  // namespace standin
