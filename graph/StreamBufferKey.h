#pragma once
// The registry key the stream-buffer engine keeps its settings under, and
// handing it to the engine's objects.

#include <windows.h>

#include <initializer_list>
#include <string>

#include <wrl/client.h>

#include "dshow/StreamBufferInterfaces.h"
#include "win/UniqueHandle.h"

// The key PATH with full access: under HKEY_LOCAL_MACHINE when the user may
// write there, else under HKEY_CURRENT_USER.
inline HRESULT OpenStreamBufferKey(const std::string& path, UniqueHkey& key) {
  LONG status = ERROR_INVALID_PARAMETER;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY opened = nullptr;
    status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, nullptr, &opened, nullptr);
    if (status == ERROR_SUCCESS) {
      key.Reset(opened);
      return S_OK;
    }
  }
  return HRESULT_FROM_WIN32(status);
}

// Gives KEY to a configuration object or a sink.
inline HRESULT HandStreamBufferKey(IUnknown* object, HKEY key) {
  Microsoft::WRL::ComPtr<IStreamBufferInitialize> initialize;
  const HRESULT hr = object->QueryInterface(IID_PPV_ARGS(&initialize));
  if (FAILED(hr)) return hr;
  return initialize->SetHKEY(key);
}
