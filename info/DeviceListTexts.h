#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the system check shows in its device and decoder lists when the
// machine offers nothing, and which devices it leaves out.

// Lines shown in the tuner list when no BDA network tuner is found.
std::vector<std::string> NoTunerLines();

// Lines shown in the capture list when no BDA receiver is found.
std::vector<std::string> NoCaptureLines();

inline constexpr const char* kNoVideoDecoderLine = "No MPEG-2 Video Decoders Found!";
inline constexpr const char* kNoAudioDecoderLine = "No AC-3 Audio Decoders Found!";

// Whether a BDA receiver component belongs in the capture list: the
// system's own slip de-framer and MPE filter are no tuner's capture side.
bool IsCaptureDeviceListed(std::string_view friendlyName);
