#include "core/files/FreeSpace.h"

#include <cstdio>

std::string FreeSpaceText(std::uint64_t bytesAvailable) {
  const std::uint64_t megabytes = bytesAvailable / (1024 * 1024);
  const double gigabytes = static_cast<double>(megabytes) / 1024.0;
  const double hours =
      static_cast<double>(megabytes / 1024) / static_cast<double>(kGigabytesPerRecordedHour);
  char text[96];
  std::snprintf(text, sizeof text, "FREE SPACE: %0.2f GB @~%d GB/hr=%0.2f hrs", gigabytes,
                kGigabytesPerRecordedHour, hours);
  return text;
}
