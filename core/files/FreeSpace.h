#pragma once
// The free-space line shown while the user chooses a recording folder: the
// space in gigabytes and roughly how many hours of television it holds.

#include <cstdint>
#include <string>

// Recordings take about 8 GB an hour.
inline constexpr int kGigabytesPerRecordedHour = 8;

// "FREE SPACE: %0.2f GB @~8 GB/hr=%0.2f hrs" for the bytes available to the
// user: the space is counted in whole megabytes, the hours in whole gigabytes.
std::string FreeSpaceText(std::uint64_t bytesAvailable);
