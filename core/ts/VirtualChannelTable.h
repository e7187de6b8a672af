#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/ts/PsipSection.h"

// The terrestrial virtual channel table: the channels a station announces,
// with their names and numbers and where each one is carried.

inline constexpr std::uint8_t kServiceTypeAnalogTelevision = 0x01;
inline constexpr std::uint8_t kServiceTypeDigitalTelevision = 0x02;
inline constexpr std::uint8_t kServiceTypeAudio = 0x03;
inline constexpr std::uint8_t kServiceTypeData = 0x04;

struct VirtualChannel {
  std::string shortName;  // UTF-8, from up to seven UTF-16 units, trailing NULs dropped
  int major = 0;          // 10 bits each
  int minor = 0;
  std::uint8_t modulationMode = 0;
  std::uint32_t carrierFrequency = 0;  // Hz; stations send 0
  std::uint16_t channelTsid = 0;
  std::uint16_t programNumber = 0;
  std::uint8_t etmLocation = 0;
  bool accessControlled = false;
  bool hidden = false;
  bool hideGuide = false;
  std::uint8_t serviceType = 0;  // 6 bits, kServiceType...
  std::uint16_t sourceId = 0;
  std::vector<std::uint8_t> descriptors;  // as sent, one after another

  friend bool operator==(const VirtualChannel&, const VirtualChannel&) = default;
};

struct Tvct {
  std::uint16_t transportStreamId = 0;
  std::uint8_t version = 0;
  std::uint8_t protocolVersion = 0;
  std::vector<VirtualChannel> channels;
  std::vector<std::uint8_t> descriptors;  // those of the table, as sent

  friend bool operator==(const Tvct&, const Tvct&) = default;
};

// One section of a TVCT. Nothing when the section is not whole, has another
// table id, fails its CRC, has a protocol version other than 0 (a layout
// this reader does not know), or its channel loop overruns the section.
std::optional<TableSection<Tvct>> ParseTvctSection(std::span<const std::uint8_t> section);

// Adds the channels and descriptors of a later section to the table.
void AppendSection(Tvct& table, const Tvct& part);
