#pragma once
// Class ids and interface ids of telvstandin-bda.dll, defined once for the
// component. The platform's own ids (the network provider, the tuning-space
// container, the locator) come from libstrmiids; those it lacks are here.

#include <windows.h>

namespace standin {

// Our virtual devices: {6B7E0C31-2F4A-4E59-8D1C-3A5F7B9E2D41} and
// {6B7E0C32-2F4A-4E59-8D1C-3A5F7B9E2D41}. telvstandin-devices points the
// device entries at them.
inline constexpr CLSID kVirtualTunerClsid = {
    0x6B7E0C31, 0x2F4A, 0x4E59, {0x8D, 0x1C, 0x3A, 0x5F, 0x7B, 0x9E, 0x2D, 0x41}};
inline constexpr CLSID kVirtualCaptureClsid = {
    0x6B7E0C32, 0x2F4A, 0x4E59, {0x8D, 0x1C, 0x3A, 0x5F, 0x7B, 0x9E, 0x2D, 0x41}};

// The platform's ATSC tuning space and channel tune request classes.
inline constexpr CLSID kAtscTuningSpaceClsid = {
    0xA2E30750, 0x6C3D, 0x11D3, {0xB6, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0x49, 0x8E}};
inline constexpr CLSID kAtscChannelTuneRequestClsid = {
    0x0369B4E6, 0x45B6, 0x11D3, {0xB6, 0x50, 0x00, 0xC0, 0x4F, 0x79, 0x49, 0x8E}};

// The ATSC network type and the BDA antenna media type between the network
// provider and the tuner.
inline constexpr GUID kAtscNetworkType = {
    0x0DAD2FDD, 0x5FD7, 0x11D3, {0x8F, 0x50, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE2}};
inline constexpr GUID kMediaTypeBdaAntenna = {
    0x71985F41, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};

// IID_IDigitalLocator, which libstrmiids lacks.
inline constexpr IID kIidDigitalLocator = {
    0x19B595D8, 0x839A, 0x47F0, {0x96, 0xDF, 0x4F, 0x19, 0x4F, 0x3C, 0x76, 0x8C}};

}  // namespace standin
