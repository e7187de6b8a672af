#pragma once

#include <cstdint>

#include "core/time/CivilTime.h"

// The system's time-zone rules, daylight saving included. The guide keeps
// programmes in UTC (seconds since 1970-01-01 00:00 UTC) and shows and
// schedules them in local civil time; the core never asks the platform
// itself, so the programs pass their conversion in and the tests pass a
// zone with fixed rules.
class LocalZone {
 public:
  virtual ~LocalZone() = default;

  // The local civil time of an instant.
  virtual CivilTime ToLocal(std::int64_t utcSeconds) const = 0;

  // An instant whose local civil time is `local`. A local time that exists
  // twice (the hour repeated when summer time ends) or not at all (the hour
  // skipped when it begins) gives one of the instants next to it, at the
  // zone's choice: callers that must know use ToLocal, which is exact.
  virtual std::int64_t ToUtc(const CivilTime& local) const = 0;

  // Seconds the local clock is ahead of UTC at an instant (negative west).
  std::int64_t OffsetAt(std::int64_t utcSeconds) const {
    return ToLocalSeconds(ToLocal(utcSeconds)).time_since_epoch().count() - utcSeconds;
  }
};
