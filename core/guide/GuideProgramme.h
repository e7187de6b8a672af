#pragma once

#include <cstdint>
#include <string>

// One programme of the guide, as guide.txt keeps it: the channel by its
// major-minor number (as the station's channel table and channels.txt name
// it), its start in UTC and its length, so that its local times follow the
// system's time-zone rules whenever they are shown.
struct GuideProgramme {
  int major = 0;
  int minor = 0;
  std::uint16_t eventId = 0;  // the station's id, unique on its channel while the event is listed
  std::int64_t startUtc = 0;  // seconds since the Unix epoch, UTC
  std::uint32_t lengthSeconds = 0;
  std::string title;        // UTF-8
  std::string description;  // UTF-8, empty when none came

  std::int64_t EndUtc() const { return startUtc + lengthSeconds; }

  friend bool operator==(const GuideProgramme&, const GuideProgramme&) = default;
};
