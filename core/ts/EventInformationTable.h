#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/ts/MultipleString.h"
#include "core/ts/PsipSection.h"

// The event information table: the programmes of one channel (its source
// id) over three hours. EIT-0 holds the current three hours, EIT-1 the next
// and so on up to EIT-127; each is sent on the PID the MGT gives it.

inline constexpr std::uint8_t kEitTableId = 0xCB;

// The MGT's table types of EIT-k (0x0100 + k) and of its events' extended
// text tables, ETT-k (0x0200 + k), for k from 0 to 127.
inline constexpr std::uint16_t kTableTypeEitFirst = 0x0100;
inline constexpr std::uint16_t kTableTypeEitLast = 0x017F;
inline constexpr std::uint16_t kTableTypeEventEttFirst = 0x0200;
inline constexpr std::uint16_t kTableTypeEventEttLast = 0x027F;

struct EitEvent {
  std::uint16_t eventId = 0;        // 14 bits
  std::uint32_t startTime = 0;      // GPS seconds since the GPS epoch
  std::uint8_t etmLocation = 0;     // 0: no extended text; 1: in this PID's ETT; 2: in the channel's ETT PID
  std::uint32_t lengthSeconds = 0;  // 20 bits
  MultipleString title;
  std::vector<std::uint8_t> descriptors;  // as sent

  friend bool operator==(const EitEvent&, const EitEvent&) = default;
};

struct Eit {
  std::uint16_t sourceId = 0;  // the section's table id extension
  std::uint8_t version = 0;
  std::uint8_t protocolVersion = 0;
  std::vector<EitEvent> events;

  friend bool operator==(const Eit&, const Eit&) = default;
};

// One section of an EIT. Nothing when the section is not whole, has another
// table id, fails its CRC, has a protocol version other than 0, or an event
// overruns it.
std::optional<TableSection<Eit>> ParseEitSection(std::span<const std::uint8_t> section);

// Adds the events of a later section to the table.
void AppendSection(Eit& table, const Eit& part);
