#pragma once

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/ts/Crc32Mpeg.h"

// Writes one section in the long syntax: the eight header bytes, then the
// fields the caller appends, then Finish() sets the section length and
// appends the CRC. Reserved bits are written as 1.
class SectionWriter {
 public:
  // A section whose table id extension, version and numbers are given;
  // `privateIndicator` is set in the tables of the PID 0x1FFB and clear in
  // the PAT and PMT.
  SectionWriter(std::uint8_t tableId, std::uint16_t idExtension, std::uint8_t version,
                std::uint8_t sectionNumber, std::uint8_t lastSectionNumber, bool privateIndicator) {
    U8(tableId).U16(privateIndicator ? 0xF000 : 0xB000).U16(idExtension);
    U8(0xC1 | ((version & 0x1F) << 1)).U8(sectionNumber).U8(lastSectionNumber);
  }

  SectionWriter& U8(unsigned value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    return *this;
  }
  SectionWriter& U16(unsigned value) { return U8(value >> 8).U8(value); }
  SectionWriter& U32(std::uint32_t value) { return U16(value >> 16).U16(value); }
  SectionWriter& Bytes(const std::vector<std::uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  // A descriptor loop: its length in the low `lengthBits` bits of 16 (the
  // bits above set as reserved), then the descriptors. Throws
  // std::length_error when they are more than the length field counts.
  SectionWriter& Descriptors(const std::vector<std::uint8_t>& bytes, int lengthBits) {
    if (bytes.size() >> lengthBits) throw std::length_error("descriptor loop too long");
    return U16((0xFFFFu << lengthBits) | static_cast<unsigned>(bytes.size())).Bytes(bytes);
  }

  std::size_t Size() const { return bytes_.size(); }

  std::vector<std::uint8_t> Finish() {
    const std::size_t length = bytes_.size() - 3 + 4;
    bytes_[1] = static_cast<std::uint8_t>((bytes_[1] & 0xF0) | ((length >> 8) & 0x0F));
    bytes_[2] = static_cast<std::uint8_t>(length);
    const std::uint32_t crc = Crc32Mpeg(bytes_);
    return std::move(U32(crc).bytes_);
  }

 private:
  std::vector<std::uint8_t> bytes_;
};
