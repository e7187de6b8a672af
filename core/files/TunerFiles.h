#pragma once

#include <filesystem>
#include <optional>
#include <string>

// tuner.txt and decoders.txt, written by the system check utility: two lines
// each, read into 100-character buffers (at most 99 characters of a line).

struct TunerNames {
  std::string tuner;    // friendly name of the BDA network tuner filter
  std::string capture;  // friendly name of the BDA receiver (capture) filter
};

struct DecoderNames {
  std::string video;
  std::string audio;
};

inline constexpr std::size_t kNameLineBuffer = 100;

// Nothing when tuner.txt cannot be opened; a missing second line reads as an
// empty capture name.
std::optional<TunerNames> ReadTunerFile(const std::filesystem::path& file);

// Nothing when decoders.txt cannot be opened.
std::optional<DecoderNames> ReadDecodersFile(const std::filesystem::path& file);

// Both files are written as "line 1\nline 2\n".
bool WriteTunerFile(const std::filesystem::path& file, const TunerNames& names);
bool WriteDecodersFile(const std::filesystem::path& file, const DecoderNames& names);
