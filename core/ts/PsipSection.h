#pragma once

#include <cstdint>

#include "core/ts/LongSection.h"

// What the tables of the PID 0x1FFB share: the PID, their table ids, and one
// parsed section of a table that may come in several sections.

inline constexpr std::uint16_t kPsipPid = 0x1FFB;
inline constexpr std::uint8_t kMgtTableId = 0xC7;
inline constexpr std::uint8_t kTvctTableId = 0xC8;
inline constexpr std::uint8_t kSttTableId = 0xCD;

// A section's header and the part of the table it carries (the fields of
// the table that every section repeats, and its own entries).
template <class Table>
struct TableSection {
  LongSectionHeader header;
  Table part;
};
