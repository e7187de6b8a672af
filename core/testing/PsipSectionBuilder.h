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

  // The bytes of a multiple-string structure: per string its language, then
  // its segments with their compression, mode and length.
  struct Segment {
    std::uint8_t compression = 0;
    std::uint8_t mode = 0;
    std::vector<std::uint8_t> bytes;
  };
  struct LanguageText {
    std::string language = "eng";
    std::vector<Segment> segments;
  };
  static std::vector<std::uint8_t> Mss(const std::vector<LanguageText>& strings) {
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(strings.size())};
    for (const LanguageText& s : strings) {
      for (std::size_t i = 0; i < 3; ++i) out.push_back(static_cast<std::uint8_t>(s.language[i]));
      out.push_back(static_cast<std::uint8_t>(s.segments.size()));
      for (const Segment& g : s.segments) {
        out.insert(out.end(), {g.compression, g.mode, static_cast<std::uint8_t>(g.bytes.size())});
        out.insert(out.end(), g.bytes.begin(), g.bytes.end());
      }
    }
    return out;
  }
  // One English string of one segment: Latin-1 bytes (mode 0x00) ...
  static std::vector<std::uint8_t> Latin1Mss(const std::string& text, const std::string& language = "eng") {
    return Mss({{language, {{0, 0x00, std::vector<std::uint8_t>(text.begin(), text.end())}}}});
  }
  // ... or UTF-16 units, big-endian (mode 0x3F).
  static std::vector<std::uint8_t> Utf16Mss(const std::u16string& text) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : text) {
      bytes.insert(bytes.end(), {static_cast<std::uint8_t>(unit >> 8), static_cast<std::uint8_t>(unit)});
    }
    return Mss({{"eng", {{0, 0x3F, bytes}}}});
  }

  // One event of an event information table; `title` is a multiple-string
  // structure's bytes, sent with their own length.
  struct Event {
    std::uint16_t eventId = 0;
    std::uint32_t start = 0;  // GPS seconds
    std::uint32_t length = 0;
    std::vector<std::uint8_t> title{};
    unsigned etmLocation = 1;
    std::vector<std::uint8_t> descriptors{};
  };
  PsipSectionBuilder& AddEvent(const Event& e) {
    U16(0xC000 | e.eventId).U32(e.start);
    const std::uint32_t timing = 0xC00000u | ((e.etmLocation & 0x3) << 20) | (e.length & 0x0FFFFF);
    U8(timing >> 16).U16(timing).U8(static_cast<unsigned>(e.title.size())).Bytes(e.title);
    return Descriptors(e.descriptors, 12);
  }

  // A whole EIT section of the channel `sourceId`.
  static std::vector<std::uint8_t> Eit(std::uint16_t sourceId, std::uint8_t version,
                                       const std::vector<Event>& events,
                                       std::uint8_t sectionNumber = 0,
                                       std::uint8_t lastSectionNumber = 0, bool current = true) {
    PsipSectionBuilder b(0xCB, sourceId, version, sectionNumber, lastSectionNumber, current);
    b.U8(static_cast<unsigned>(events.size()));
    for (const Event& e : events) b.AddEvent(e);
    return b.Finish();
  }

  // A whole ETT section: the ETM id and a multiple-string structure's bytes.
  static std::vector<std::uint8_t> Ett(std::uint32_t etmId, const std::vector<std::uint8_t>& text,
                                       std::uint8_t version = 0, std::uint16_t idExtension = 0) {
    return PsipSectionBuilder(0xCC, idExtension, version).U32(etmId).Bytes(text).Finish();
  }

  // A section with its CRC replaced by one that matches its other bytes, so
  // that damage made on purpose reaches the table's reader.
  static std::vector<std::uint8_t> Recrc(std::vector<std::uint8_t> section) {
    section.resize(section.size() - 4);
    const std::uint32_t crc = Crc32Mpeg(section);
    for (int shift = 24; shift >= 0; shift -= 8) section.push_back(static_cast<std::uint8_t>(crc >> shift));
    return section;
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
