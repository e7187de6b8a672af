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
                           {__uuidof(IStreamBufferConfigure2), static_cast<IStreamBufferConfigure2*>(this)},
                           {__uuidof(IStreamBufferConfigure3), static_cast<IStreamBufferConfigure3*>(this)},
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

STDMETHODIMP ConfigObject::SetMultiplexedPacketSize(DWORD bytesPerPacket) try {
  std::lock_guard guard(lock);
  packetSize = bytesPerPacket;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::GetMultiplexedPacketSize(DWORD* bytesPerPacket) try {
  RETURN_HR_IF_NULL(E_POINTER, bytesPerPacket);
  std::lock_guard guard(lock);
  *bytesPerPacket = packetSize;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::SetFFTransitionRates(DWORD fullFrame, DWORD nonSkipping) try {
  std::lock_guard guard(lock);
  maxFullFrameRate = fullFrame;
  maxNonSkippingRate = nonSkipping;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::GetFFTransitionRates(DWORD* fullFrame, DWORD* nonSkipping) try {
  RETURN_HR_IF(E_POINTER, fullFrame == nullptr || nonSkipping == nullptr);
  std::lock_guard guard(lock);
  *fullFrame = maxFullFrameRate;
  *nonSkipping = maxNonSkippingRate;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::SetStartRecConfig(BOOL stopsCurrent) try {
  std::lock_guard guard(lock);
  startStopsCurrent = stopsCurrent;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::GetStartRecConfig(BOOL* stopsCurrent) try {
  RETURN_HR_IF_NULL(E_POINTER, stopsCurrent);
  std::lock_guard guard(lock);
  *stopsCurrent = startStopsCurrent;
  return S_OK;
}
CATCH_RETURN()

// Null: the session's own namespace, which a normal user may use. Like the
// other settings it goes to the key, where the sink given that key reads it.
STDMETHODIMP ConfigObject::SetNamespace(LPWSTR name) try {
  std::wstring chosen;
  if (name != nullptr) {
    const std::size_t length = wcsnlen(name, MAX_PATH);
    RETURN_HR_IF(E_INVALIDARG, length == 0 || length >= MAX_PATH);
    chosen.assign(name, length);
  }
  std::lock_guard guard(lock);
  settings.syncNamespace = chosen;
  return Keep();
}
CATCH_RETURN()

STDMETHODIMP ConfigObject::GetNamespace(LPWSTR* name) try {
  RETURN_HR_IF_NULL(E_POINTER, name);
  *name = nullptr;
  std::lock_guard guard(lock);
  if (settings.syncNamespace.empty()) return S_OK;
  return CopyToTaskMem(settings.syncNamespace, name);
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
