#pragma once

#include <cstdint>
#include <span>

// CRC-32 of MPEG-2 program-specific information sections (polynomial
// 0x04C11DB7, initial value 0xFFFFFFFF, no reflection, no final xor).
// A section with its CRC appended checks to 0.
std::uint32_t Crc32Mpeg(std::span<const std::uint8_t> data);
