#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/ts/MultipleString.h"
#include "core/ts/PsipSection.h"

// The extended text table: one long text (a programme's description, or a
// channel's) named by its ETM id. Always one section.

inline constexpr std::uint8_t kEttTableId = 0xCC;

struct Ett {
  std::uint16_t idExtension = 0;  // the section's table id extension (free for the station)
  std::uint8_t version = 0;
  std::uint8_t protocolVersion = 0;
  std::uint32_t etmId = 0;
  MultipleString text;

  friend bool operator==(const Ett&, const Ett&) = default;
};

// The ETM id of an event's text: source id, event id, and 0b10 below them.
constexpr std::uint32_t EventEtmId(std::uint16_t sourceId, std::uint16_t eventId) {
  return (std::uint32_t{sourceId} << 16) | (std::uint32_t(eventId & 0x3FFF) << 2) | 0x2;
}

// Nothing when the section is not whole, has another table id, fails its
// CRC, has a protocol version other than 0, or its text does not fill it
// exactly.
std::optional<TableSection<Ett>> ParseEttSection(std::span<const std::uint8_t> section);
