#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/ts/PsipSection.h"

// The system time table: the station's clock in GPS seconds, the leap
// seconds between GPS and UTC, and when daylight saving time begins or ends.

// The GPS epoch, 1980-01-06 00:00:00 UTC, in seconds since the Unix epoch.
inline constexpr std::int64_t kGpsEpochUnixSeconds = 315964800;

struct Stt {
  std::uint8_t protocolVersion = 0;
  std::uint32_t systemTime = 0;  // GPS seconds since the GPS epoch
  std::uint8_t gpsUtcOffset = 0;  // leap seconds GPS time is ahead of UTC
  bool daylightSaving = false;     // in daylight saving time now
  std::uint8_t daylightSavingDay = 0;   // day of month of the next change, 0 when none
  std::uint8_t daylightSavingHour = 0;  // local hour of that change
  std::vector<std::uint8_t> descriptors;  // as sent

  friend bool operator==(const Stt&, const Stt&) = default;
};

// The table (always one section). Nothing when the section is not whole,
// has another table id, fails its CRC, or has a protocol version other
// than 0.
std::optional<TableSection<Stt>> ParseSttSection(std::span<const std::uint8_t> section);

// The table's time in seconds since the Unix epoch, UTC.
std::int64_t UtcUnixSeconds(const Stt& stt);
