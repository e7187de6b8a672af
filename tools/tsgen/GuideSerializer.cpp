#include "GuideSerializer.h"

#include <algorithm>
#include <stdexcept>

#include "PsipSerializer.h"
#include "SectionWriter.h"

namespace {

constexpr std::size_t kCrcBytes = 4;
constexpr std::size_t kMaxSegmentBytes = 255;
constexpr std::size_t kMaxCount = 255;  // strings, segments, events of a section
constexpr std::uint8_t kModeLatin1 = 0x00;
constexpr std::uint8_t kModeUtf16 = 0x3F;
// Before a section's events: header 8, protocol version, event count.
constexpr std::size_t kEitFixedBytes = 8 + 1 + 1 + kCrcBytes;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

std::vector<StringSegment> Latin1Segments(const std::u16string& units) {
  std::vector<StringSegment> segments;
  for (std::size_t at = 0; at < units.size(); at += kMaxSegmentBytes) {
    StringSegment segment{0, kModeLatin1, {}};
    const std::size_t end = std::min(units.size(), at + kMaxSegmentBytes);
    for (std::size_t i = at; i < end; ++i) segment.bytes.push_back(static_cast<std::uint8_t>(units[i]));
    segments.push_back(std::move(segment));
  }
  return segments;
}

std::vector<StringSegment> Utf16Segments(const std::u16string& units) {
  constexpr std::size_t kUnitsPerSegment = kMaxSegmentBytes / 2;
  std::vector<StringSegment> segments;
  for (std::size_t at = 0; at < units.size();) {
    std::size_t end = std::min(units.size(), at + kUnitsPerSegment);
    if (end < units.size() && IsHighSurrogate(units[end - 1])) --end;  // keep the pair together
    StringSegment segment{0, kModeUtf16, {}};
    for (std::size_t i = at; i < end; ++i) {
      segment.bytes.push_back(static_cast<std::uint8_t>(units[i] >> 8));
      segment.bytes.push_back(static_cast<std::uint8_t>(units[i]));
    }
    segments.push_back(std::move(segment));
    at = end;
  }
  return segments;
}

std::vector<std::uint8_t> WriteEvent(const EitEvent& event) {
  if (event.eventId > 0x3FFF) throw std::invalid_argument("event id past 14 bits");
  if (event.lengthSeconds > 0xFFFFF) throw std::invalid_argument("event length past 20 bits");
  const std::vector<std::uint8_t> title = SerializeMultipleString(event.title);
  if (title.size() > 0xFF) throw std::length_error("event title over 255 bytes");
  if (event.descriptors.size() > 0xFFF) throw std::length_error("event descriptors too long");
  std::vector<std::uint8_t> bytes;
  const auto put = [&bytes](unsigned value) { bytes.push_back(static_cast<std::uint8_t>(value)); };
  put(0xC0 | (event.eventId >> 8));
  put(event.eventId);
  for (int shift = 24; shift >= 0; shift -= 8) put(event.startTime >> shift);
  put(0xC0 | ((event.etmLocation & 0x03u) << 4) | (event.lengthSeconds >> 16));
  put(event.lengthSeconds >> 8);
  put(event.lengthSeconds);
  put(static_cast<unsigned>(title.size()));
  bytes.insert(bytes.end(), title.begin(), title.end());
  put(0xF0 | (event.descriptors.size() >> 8));
  put(static_cast<unsigned>(event.descriptors.size()));
  bytes.insert(bytes.end(), event.descriptors.begin(), event.descriptors.end());
  return bytes;
}

}  // namespace

MultipleString MakeMultipleString(std::string_view utf8, std::array<char, 3> language) {
  const auto units = Utf16Units(utf8);
  if (!units) throw std::invalid_argument("text is not UTF-8");
  const bool latin1 = std::all_of(units->begin(), units->end(), [](char16_t u) { return u <= 0xFF; });
  return MultipleString{{LanguageString{language, latin1 ? Latin1Segments(*units) : Utf16Segments(*units)}}};
}

std::vector<std::uint8_t> SerializeMultipleString(const MultipleString& text) {
  if (text.strings.size() > kMaxCount) throw std::length_error("more than 255 strings");
  std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(text.strings.size())};
  for (const LanguageString& string : text.strings) {
    if (string.segments.size() > kMaxCount) throw std::length_error("more than 255 segments");
    bytes.insert(bytes.end(), string.language.begin(), string.language.end());
    bytes.push_back(static_cast<std::uint8_t>(string.segments.size()));
    for (const StringSegment& segment : string.segments) {
      if (segment.bytes.size() > kMaxSegmentBytes) throw std::length_error("segment over 255 bytes");
      bytes.push_back(segment.compression);
      bytes.push_back(segment.mode);
      bytes.push_back(static_cast<std::uint8_t>(segment.bytes.size()));
      bytes.insert(bytes.end(), segment.bytes.begin(), segment.bytes.end());
    }
  }
  return bytes;
}

std::vector<std::vector<std::uint8_t>> SerializeEit(const Eit& eit) {
  // The events of each section, written once: as many as fit.
  std::vector<std::vector<std::vector<std::uint8_t>>> split(1);
  std::size_t size = kEitFixedBytes;
  for (const EitEvent& event : eit.events) {
    auto bytes = WriteEvent(event);
    if (kEitFixedBytes + bytes.size() > kMaxGuideSectionBytes) throw std::length_error("event too long");
    if (size + bytes.size() > kMaxGuideSectionBytes || split.back().size() == kMaxCount) {
      split.emplace_back();
      size = kEitFixedBytes;
    }
    size += bytes.size();
    split.back().push_back(std::move(bytes));
  }
  if (split.size() > 256) throw std::length_error("too many events for one EIT");

  const auto last = static_cast<std::uint8_t>(split.size() - 1);
  std::vector<std::vector<std::uint8_t>> sections;
  for (std::size_t number = 0; number < split.size(); ++number) {
    SectionWriter section(kEitTableId, eit.sourceId, eit.version, static_cast<std::uint8_t>(number),
                          last, true);
    section.U8(eit.protocolVersion).U8(static_cast<unsigned>(split[number].size()));
    for (const auto& event : split[number]) section.Bytes(event);
    sections.push_back(section.Finish());
  }
  return sections;
}

std::vector<std::uint8_t> SerializeEtt(const Ett& ett) {
  SectionWriter section(kEttTableId, ett.idExtension, ett.version, 0, 0, true);
  section.U8(ett.protocolVersion).U32(ett.etmId).Bytes(SerializeMultipleString(ett.text));
  if (section.Size() + kCrcBytes > kMaxGuideSectionBytes) throw std::length_error("ETT text too long");
  return section.Finish();
}
