#include "dshow/ServerModule.h"

#include "dshow/ServerLock.h"

namespace {
HMODULE serverModule = nullptr;
}

HMODULE dshow::ServerModule() noexcept { return serverModule; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    serverModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllCanUnloadNow() { return dshow::ServerLock::IsLocked() ? S_FALSE : S_OK; }
