#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The header of a section in the long syntax (table id, extension, version,
// current/next, section numbers) and the body between it and the CRC.
struct LongSectionHeader {
  std::uint8_t tableId = 0;
  std::uint16_t idExtension = 0;  // transport stream id, program number, ...
  std::uint8_t version = 0;
  bool current = true;            // false: the table that applies next
  std::uint8_t sectionNumber = 0;
  std::uint8_t lastSectionNumber = 0;

  friend bool operator==(const LongSectionHeader&, const LongSectionHeader&) = default;
};

struct LongSection {
  LongSectionHeader header;
  std::span<const std::uint8_t> body;  // after the 8 header bytes, before the CRC
};

// The section at the start of `data` when it is whole, has the given table
// id, passes its CRC and numbers itself no later than its last section.
// Bytes after the section are not looked at.
std::optional<LongSection> OpenLongSection(std::span<const std::uint8_t> data,
                                           std::uint8_t tableId);
