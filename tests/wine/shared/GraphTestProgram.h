#pragma once
// What the graph test programs share: the class ids and device categories
// they build with, result lines "name=0x........", failures on stderr
// ("PROGRAM: STEP failed: 0x........", exit status 1), text conversion and
// pin lookup. Each program defines kTestProgramName.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

#include "graph/BdaIds.h"
#include "win/HResultMacros.h"
#include "tssink/TsSinkGuids.h"
#include "tssource/TsSourceGuids.h"

extern const char kTestProgramName[];

inline int Fail(const char* what, HRESULT hr) {
  std::fprintf(stderr, "%s: %s failed: 0x%08lX\n", kTestProgramName, what,
               static_cast<unsigned long>(hr));
  return 1;
}

// Returns Fail(what, hr) from the calling function when `expr` fails.
#define CHECK(what, expr)                            \
  do {                                               \
    const HRESULT hrCall_ = (expr);                  \
    if (FAILED(hrCall_)) return Fail(what, hrCall_); \
  } while (0)

inline void PrintResult(const char* name, HRESULT hr) {
  std::printf("%s=0x%08lX\n", name, static_cast<unsigned long>(hr));
}

inline std::wstring Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring out(length > 0 ? length - 1 : 0, L'\0');
  if (length > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), length);
  return out;
}

// The filter's first pin of the direction, connected or not.
inline HRESULT FindPin(IBaseFilter* filter, PIN_DIRECTION direction, IPin** out) {
  Microsoft::WRL::ComPtr<IEnumPins> pins;
  RETURN_IF_FAILED(filter->EnumPins(&pins));
  Microsoft::WRL::ComPtr<IPin> pin;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION d;
    if (SUCCEEDED(pin->QueryDirection(&d)) && d == direction) return pin.CopyTo(out);
    pin.Reset();
  }
  return VFW_E_NOT_FOUND;
}
