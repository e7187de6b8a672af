#pragma once
// Puts the aspect-ratio wrapper in the place of the VMR-7's own server and
// back: the original server's path and threading model are kept beside it in
// the class key, so unregistering restores Wine's entry exactly.

#include <windows.h>

#include <string>

namespace decoders {

HRESULT RegisterVmrWrapper(HMODULE module);
HRESULT UnregisterVmrWrapper(HMODULE module);

// The server that makes the real VMR-7 ("quartz.dll" when nothing is known).
std::wstring OriginalVmrServer();

}  // namespace decoders
