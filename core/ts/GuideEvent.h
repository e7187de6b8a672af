#pragma once

#include <cstdint>
#include <string>

// One programme as the broadcast's guide tables give it, with its text
// decoded and its start made UTC (GPS seconds less the STT's offset).
struct GuideEvent {
  std::uint16_t sourceId = 0;  // the channel, as the TVCT names it
  std::uint16_t eventId = 0;
  std::int64_t startUtc = 0;   // seconds since the Unix epoch, UTC
  std::uint32_t lengthSeconds = 0;
  std::string title;           // UTF-8
  std::string description;     // UTF-8, empty when none came

  friend bool operator==(const GuideEvent&, const GuideEvent&) = default;
};
