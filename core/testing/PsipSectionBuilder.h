#pragma once

// Test support: writes sections of the PID 0x1FFB byte by byte, with the
// right section length and a real CRC, so parsers are tested against the
// wire layout rather than against a writer of their own. Reserved bits are
// sent as 1, as stations send them.

#include <cstdint>
#include <string>
#include <vector>

#include "core/ts/Crc32Mpeg.h"

class PsipSectionBuilder {
 public:
  PsipSectionBuilder(std::uint8_t tableId, std::uint16_t idExtension, std::uint8_t version,
                     std::uint8_t sectionNumber = 0, std::uint8_t lastSectionNumber = 0,
                     bool current = true) {
    U8(tableId).U16(0xF000).U16(idExtension);
    U8(0xC0 | ((version & 0x1F) << 1) | (current ? 1 : 0)).U8(sectionNumber).U8(lastSectionNumber);
    U8(0);  // protocol version
  }

  PsipSectionBuilder& U8(unsigned value) {
    bytes_.push_back(static_cast<std::uint8_t>(value));
    return *this;
  }
  PsipSectionBuilder& U16(unsigned value) { return U8(value >> 8).U8(value); }
  PsipSectionBuilder& U32(std::uint32_t value) { return U16(value >> 16).U16(value); }
  PsipSectionBuilder& Bytes(const std::vector<std::uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  // A descriptor loop: its length in the low `lengthBits` bits, then the bytes.
  PsipSectionBuilder& Descriptors(const std::vector<std::uint8_t>& bytes, int lengthBits) {
    return U16((0xFFFFu << lengthBits) | static_cast<unsigned>(bytes.size())).Bytes(bytes);
  }

  // One entry of a virtual channel table.
  struct Channel {
    std::u16string name;  // sent NUL-padded to seven units
    unsigned major = 0;
    unsigned minor = 0;
    std::uint8_t serviceType = 0x02;
    bool hidden = false;
    bool hideGuide = false;
    bool accessControlled = false;
    unsigned etmLocation = 0;
    std::uint8_t modulation = 0x04;
    std::uint32_t frequency = 0;
    std::uint16_t tsid = 0;
    std::uint16_t program = 0;
    std::uint16_t sourceId = 0;
    std::vector<std::uint8_t> descriptors{};
  };
  PsipSectionBuilder& AddChannel(const Channel& c) {
    for (std::size_t i = 0; i < 7; ++i) U16(i < c.name.size() ? c.name[i] : 0);
    const std::uint32_t numbers = 0xF00000u | ((c.major & 0x3FF) << 10) | (c.minor & 0x3FF);
    U8(numbers >> 16).U16(numbers).U8(c.modulation).U32(c.frequency).U16(c.tsid).U16(c.program);
    U16((c.etmLocation << 14) | (c.accessControlled ? 0x2000 : 0) | (c.hidden ? 0x1000 : 0) |
        0x0C00 | (c.hideGuide ? 0x0200 : 0) | 0x01C0 | (c.serviceType & 0x3F));
    return U16(c.sourceId).Descriptors(c.descriptors, 10);
  }

  // A whole TVCT section: the channel count, the channels and no table
  // descriptors.
  static std::vector<std::uint8_t> Tvct(std::uint16_t tsid, std::uint8_t version,
                                        const std::vector<Channel>& channels,
                                        std::uint8_t sectionNumber = 0,
                                        std::uint8_t lastSectionNumber = 0, bool current = true) {
    PsipSectionBuilder b(0xC8, tsid, version, sectionNumber, lastSectionNumber, current);
    b.U8(static_cast<unsigned>(channels.size()));
    for (const Channel& c : channels) b.AddChannel(c);
    return b.Descriptors({}, 10).Finish();
  }

  std::vector<std::uint8_t> Finish() const {
    std::vector<std::uint8_t> section = bytes_;
    const std::size_t length = section.size() - 3 + 4;
    section[1] = static_cast<std::uint8_t>(0xF0 | ((length >> 8) & 0x0F));
    section[2] = static_cast<std::uint8_t>(length);
    const std::uint32_t crc = Crc32Mpeg(section);
    for (int shift = 24; shift >= 0; shift -= 8) section.push_back(static_cast<std::uint8_t>(crc >> shift));
    return section;
  }

 private:
  std::vector<std::uint8_t> bytes_;
};
