#include "PsipSerializer.h"

#include <stdexcept>

#include "SectionWriter.h"

namespace {

constexpr std::size_t kMaxSectionBytes = 1024;  // a section length of at most 1021
constexpr std::size_t kMaxMgtSectionBytes = 4096;  // the MGT's may reach 4093, to list 128 EITs and ETTs
constexpr std::size_t kCrcBytes = 4;
constexpr std::size_t kChannelBytes = 32;       // a channel without its descriptors
constexpr std::size_t kMaxChannelsPerSection = 255;

// Decodes one UTF-8 sequence at `at`; nothing for a malformed, overlong or
// surrogate sequence or one past U+10FFFF.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int more = 0;
  char32_t c = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    c = lead & 0x07;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < more; ++i) {
    if (at >= text.size()) return std::nullopt;
    const auto next = static_cast<unsigned char>(text[at++]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
  }
  const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
  if (c < smallest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  return c;
}

void WriteChannel(SectionWriter& section, const VirtualChannel& c) {
  const auto name = Utf16Units(c.shortName);
  if (!name || name->size() > kShortNameMaxUnits) {
    throw std::invalid_argument("short name not UTF-8 or longer than seven units");
  }
  for (std::size_t i = 0; i < kShortNameMaxUnits; ++i) section.U16(i < name->size() ? (*name)[i] : 0);
  const std::uint32_t numbers = 0xF00000u | ((c.major & 0x3FFu) << 10) | (c.minor & 0x3FFu);
  section.U8(numbers >> 16).U16(numbers).U8(c.modulationMode).U32(c.carrierFrequency);
  section.U16(c.channelTsid).U16(c.programNumber);
  section.U16(((c.etmLocation & 0x03u) << 14) | (c.accessControlled ? 0x2000 : 0) |
              (c.hidden ? 0x1000 : 0) | 0x0C00 | (c.hideGuide ? 0x0200 : 0) | 0x01C0 |
              (c.serviceType & 0x3Fu));
  section.U16(c.sourceId).Descriptors(c.descriptors, 10);
}

// The channels of each section, in order: as many as fit beside the
// section's fixed fields and the table's descriptors.
std::vector<std::vector<const VirtualChannel*>> SplitChannels(const Tvct& tvct) {
  const std::size_t fixed = 8 + 2 + 2 + tvct.descriptors.size() + kCrcBytes;
  std::vector<std::vector<const VirtualChannel*>> sections(1);
  std::size_t size = fixed;
  for (const VirtualChannel& channel : tvct.channels) {
    const std::size_t bytes = kChannelBytes + channel.descriptors.size();
    if (fixed + bytes > kMaxSectionBytes) throw std::length_error("virtual channel too long");
    if (size + bytes > kMaxSectionBytes || sections.back().size() == kMaxChannelsPerSection) {
      sections.emplace_back();
      size = fixed;
    }
    sections.back().push_back(&channel);
    size += bytes;
  }
  if (sections.size() > 256) throw std::length_error("too many virtual channels");
  return sections;
}

std::vector<std::uint8_t> Finish(SectionWriter& section, std::size_t most = kMaxSectionBytes) {
  if (section.Size() + kCrcBytes > most) throw std::length_error("section too long");
  return section.Finish();
}

}  // namespace

std::optional<std::u16string> Utf16Units(std::string_view utf8) {
  std::u16string units;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto c = NextCodePoint(utf8, at);
    if (!c) return std::nullopt;
    if (*c >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((*c - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((*c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(*c));
    }
  }
  return units;
}

std::vector<std::uint8_t> SerializeMgt(const Mgt& mgt) {
  SectionWriter section(kMgtTableId, 0x0000, mgt.version, 0, 0, true);
  section.U8(mgt.protocolVersion).U16(static_cast<unsigned>(mgt.tables.size()));
  for (const MgtEntry& entry : mgt.tables) {
    section.U16(entry.tableType).U16(0xE000u | (entry.pid & 0x1FFFu)).U8(0xE0u | (entry.version & 0x1Fu));
    section.U32(entry.byteCount).Descriptors(entry.descriptors, 12);
  }
  section.Descriptors(mgt.descriptors, 12);
  return Finish(section, kMaxMgtSectionBytes);
}

std::vector<std::vector<std::uint8_t>> SerializeTvct(const Tvct& tvct) {
  const auto split = SplitChannels(tvct);
  const auto last = static_cast<std::uint8_t>(split.size() - 1);
  std::vector<std::vector<std::uint8_t>> sections;
  for (std::size_t number = 0; number < split.size(); ++number) {
    SectionWriter section(kTvctTableId, tvct.transportStreamId, tvct.version,
                          static_cast<std::uint8_t>(number), last, true);
    section.U8(tvct.protocolVersion).U8(static_cast<unsigned>(split[number].size()));
    for (const VirtualChannel* channel : split[number]) WriteChannel(section, *channel);
    section.Descriptors(number == last ? tvct.descriptors : std::vector<std::uint8_t>{}, 10);
    sections.push_back(Finish(section));
  }
  return sections;
}

std::vector<std::uint8_t> SerializeStt(const Stt& stt) {
  SectionWriter section(kSttTableId, 0x0000, 0, 0, 0, true);
  section.U8(stt.protocolVersion).U32(stt.systemTime).U8(stt.gpsUtcOffset);
  section.U8((stt.daylightSaving ? 0x80 : 0) | 0x60 | (stt.daylightSavingDay & 0x1F));
  section.U8(stt.daylightSavingHour).Bytes(stt.descriptors);
  return Finish(section);
}
