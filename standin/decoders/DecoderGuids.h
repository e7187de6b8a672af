#pragma once
// Class ids of telvstandin-decoders.dll, and the names of its settings.

#include <windows.h>

// {6F1D3A52-8C47-4E0B-A9D3-2B7E5C914A61}
inline constexpr CLSID kVideoDecoderClsid = {
    0x6f1d3a52, 0x8c47, 0x4e0b, {0xa9, 0xd3, 0x2b, 0x7e, 0x5c, 0x91, 0x4a, 0x61}};
// {6F1D3A53-8C47-4E0B-A9D3-2B7E5C914A61}
inline constexpr CLSID kAudioDecoderClsid = {
    0x6f1d3a53, 0x8c47, 0x4e0b, {0xa9, 0xd3, 0x2b, 0x7e, 0x5c, 0x91, 0x4a, 0x61}};

inline constexpr wchar_t kVideoDecoderName[] = L"Telvantis Test MPEG-2 Video Decoder";
inline constexpr wchar_t kAudioDecoderName[] = L"Telvantis Test AC-3 Audio Decoder";
