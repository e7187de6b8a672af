#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/ts/PsipSection.h"

// The master guide table: the list of the other tables of the PID 0x1FFB
// (and the event and text tables on PIDs of their own), with the version
// and size of each, so a reader knows what to collect and when it changed.

inline constexpr std::uint16_t kTableTypeTvctCurrent = 0x0000;
inline constexpr std::uint16_t kTableTypeTvctNext = 0x0001;
inline constexpr std::uint16_t kTableTypeChannelEtt = 0x0004;

struct MgtEntry {
  std::uint16_t tableType = 0;
  std::uint16_t pid = 0;
  std::uint8_t version = 0;
  std::uint32_t byteCount = 0;
  std::vector<std::uint8_t> descriptors;  // as sent

  friend bool operator==(const MgtEntry&, const MgtEntry&) = default;
};

struct Mgt {
  std::uint8_t version = 0;
  std::uint8_t protocolVersion = 0;
  std::vector<MgtEntry> tables;
  std::vector<std::uint8_t> descriptors;  // those of the table, as sent

  // The first entry of the given table type, if any.
  std::optional<MgtEntry> FindTable(std::uint16_t tableType) const;

  friend bool operator==(const Mgt&, const Mgt&) = default;
};

// One section of an MGT (stations send it in one). Nothing when the section
// is not whole, has another table id, fails its CRC, has a protocol version
// other than 0, or its table loop overruns the section.
std::optional<TableSection<Mgt>> ParseMgtSection(std::span<const std::uint8_t> section);

// Adds the entries and descriptors of a later section to the table.
void AppendSection(Mgt& table, const Mgt& part);
