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

#include "HResultMacros.h"

extern const char kTestProgramName[];

inline constexpr CLSID kTsSourceClsid = {
    0xB489920A, 0x10FF, 0x42EF, {0x99, 0xD2, 0xAD, 0x80, 0x52, 0xA5, 0x6C, 0x5A}};
inline constexpr CLSID kTsSinkClsid = {
    0xE212A41C, 0x033F, 0x4541, {0x93, 0xB5, 0x3A, 0x78, 0xB0, 0x39, 0x24, 0x46}};
inline constexpr CLSID kTifClsid = {
    0xFC772AB0, 0x0C7F, 0x11D3, {0x8F, 0xF2, 0x00, 0xA0, 0xC9, 0x22, 0x4C, 0xF4}};
inline constexpr GUID kCategoryBdaNetworkTuner = {
    0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
inline constexpr GUID kCategoryBdaReceiverComponent = {
    0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};

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
