#pragma once
// The push source's class id, defined once for the component.

#include <windows.h>

inline constexpr CLSID kTsSourceClsid = {
    0xB489920A, 0x10FF, 0x42EF, {0x99, 0xD2, 0xAD, 0x80, 0x52, 0xA5, 0x6C, 0x5A}};
