#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ts/MasterGuideTable.h"
#include "core/ts/SystemTimeTable.h"
#include "core/ts/VirtualChannelTable.h"

// Whole sections (header to CRC) of the tables of the PID 0x1FFB, written
// from the same values the core's readers give back, so that what is
// written reads back equal.

// A TVCT short name is at most seven UTF-16 units, sent NUL-padded.
inline constexpr std::size_t kShortNameMaxUnits = 7;

// The UTF-16 units of UTF-8 text; nothing when it is not UTF-8 (a malformed,
// overlong or surrogate sequence, or one past U+10FFFF).
std::optional<std::u16string> Utf16Units(std::string_view utf8);

// The MGT in one section. Throws std::length_error when it does not fit.
std::vector<std::uint8_t> SerializeMgt(const Mgt& mgt);

// The TVCT in as many sections as its channels need (about thirty a
// section; the table's own descriptors are sent in the last). Throws
// std::invalid_argument for a short name that is not UTF-8 or is too long, and
// std::length_error when a channel or the table does not fit.
std::vector<std::vector<std::uint8_t>> SerializeTvct(const Tvct& tvct);

// The STT, always one section.
std::vector<std::uint8_t> SerializeStt(const Stt& stt);
