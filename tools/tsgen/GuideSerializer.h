#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/ts/EventInformationTable.h"
#include "core/ts/ExtendedTextTable.h"
#include "core/ts/MultipleString.h"

// Whole sections (header to CRC) of the guide tables, the event information
// table and the extended text table, and the multiple-string texts they
// carry, written from the same values the core's readers give back.

// A guide table's section is at most this long, header and CRC included.
inline constexpr std::size_t kMaxGuideSectionBytes = 4096;

// UTF-8 text as a multiple-string structure of one string in `language`,
// uncompressed: Latin-1 (mode 0x00) when every character fits, else UTF-16
// (mode 0x3F), cut into segments of at most 255 bytes, never inside a
// character. Empty text gives the string without segments. Throws
// std::invalid_argument when the text is not UTF-8.
MultipleString MakeMultipleString(std::string_view utf8,
                                  std::array<char, 3> language = {{'e', 'n', 'g'}});

// The bytes of a multiple-string structure. Throws std::length_error for
// more than 255 strings or segments in a string, or a segment over 255 bytes.
std::vector<std::uint8_t> SerializeMultipleString(const MultipleString& text);

// The EIT in as many sections as its events need (at most 255 events and
// kMaxGuideSectionBytes a section); without events, one section with none.
// Throws std::invalid_argument for an event id past 14 bits or a length
// past 20, and std::length_error for a title over 255 bytes, an event that
// fills no section alone, or more than 256 sections.
std::vector<std::vector<std::uint8_t>> SerializeEit(const Eit& eit);

// The ETT, always one section. Throws std::length_error when its text does
// not fit.
std::vector<std::uint8_t> SerializeEtt(const Ett& ett);
