#pragma once
// What every in-process COM server of ours does alike: DllMain keeps the
// module handle (registration writes its path) and DllCanUnloadNow asks the
// server lock. Each server links this as an object library, so that it gets
// its own copy and the exports it lists in its .def file.

#include <windows.h>

namespace dshow {

// The server's own module, as DllMain received it.
HMODULE ServerModule() noexcept;

}  // namespace dshow
