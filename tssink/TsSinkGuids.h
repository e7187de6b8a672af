#pragma once
// The dump filter's class id, defined once for the component.

#include <windows.h>

inline constexpr CLSID kTsSinkClsid = {
    0xE212A41C, 0x033F, 0x4541, {0x93, 0xB5, 0x3A, 0x78, 0xB0, 0x39, 0x24, 0x46}};
