#pragma once
// Ids of the Windows BDA platform that the mingw-w64 headers and libstrmiids
// lack, defined once for every program and stand-in that needs them.

#include <windows.h>

// The device categories of tuners and of capture (receiver) components.
inline constexpr GUID kBdaNetworkTunerCategory = {
    0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
inline constexpr GUID kBdaReceiverComponentCategory = {
    0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};

// The generic network provider of Windows 7 and later, which tunes whatever
// network type its tune request's locator names.
inline constexpr CLSID kNetworkProviderClsid = {
    0xB2F3A67C, 0x29DA, 0x4C78, {0x88, 0x31, 0x09, 0x1E, 0xD5, 0x09, 0xA4, 0x75}};

// The BDA MPEG-2 transport information filter.
inline constexpr CLSID kBdaTransportInformationFilterClsid = {
    0xFC772AB0, 0x0C7F, 0x11D3, {0x8F, 0xF2, 0x00, 0xA0, 0xC9, 0x22, 0x4C, 0xF4}};
