#pragma once
// The stream-buffer engine makes its reader and writer synchronisation
// objects in the "Global" namespace unless told otherwise, and since Windows
// Vista only an administrator may: a normal user's LockProfile fails. The
// configuration object is told to use the session's own namespace instead;
// it writes that into its key, where the sink given the same key reads it,
// so this comes before the sink's SetHKEY.

#include <windows.h>

#include <wrl/client.h>

#include "dshow/StreamBufferInterfaces.h"

inline HRESULT UseSessionNamespace(IStreamBufferConfigure* configure) {
  Microsoft::WRL::ComPtr<IStreamBufferConfigure3> later;
  // An engine older than Windows Vista has no namespace to choose and needs
  // none.
  if (FAILED(configure->QueryInterface(IID_PPV_ARGS(&later)))) return S_OK;
  return later->SetNamespace(nullptr);
}
