#include "core/ts/VirtualChannelTable.h"

#include <array>

#include "core/ts/ByteReader.h"
#include "core/ts/Utf8Text.h"

namespace {

constexpr std::size_t kShortNameUnits = 7;

// The short name is NUL-padded UTF-16; a surrogate without its partner
// becomes U+FFFD rather than invalid UTF-8.
std::string ShortNameText(ByteReader& reader) {
  std::array<char16_t, kShortNameUnits> units{};
  for (char16_t& unit : units) unit = reader.U16();
  std::size_t count = units.size();
  while (count > 0 && units[count - 1] == 0) --count;

  std::string text;
  AppendUtf16(text, std::span(units).first(count));
  return text;
}

std::vector<std::uint8_t> Descriptors(ByteReader& reader) {
  const auto bytes = reader.Bytes(reader.U16() & 0x03FF);
  return {bytes.begin(), bytes.end()};
}

VirtualChannel ReadChannel(ByteReader& reader) {
  VirtualChannel channel;
  channel.shortName = ShortNameText(reader);
  const std::uint32_t numbers = (std::uint32_t{reader.U8()} << 16) | reader.U16();
  channel.major = static_cast<int>((numbers >> 10) & 0x03FF);
  channel.minor = static_cast<int>(numbers & 0x03FF);
  channel.modulationMode = reader.U8();
  channel.carrierFrequency = reader.U32();
  channel.channelTsid = reader.U16();
  channel.programNumber = reader.U16();
  const std::uint16_t flags = reader.U16();
  channel.etmLocation = static_cast<std::uint8_t>(flags >> 14);
  channel.accessControlled = (flags & 0x2000) != 0;
  channel.hidden = (flags & 0x1000) != 0;
  channel.hideGuide = (flags & 0x0200) != 0;
  channel.serviceType = static_cast<std::uint8_t>(flags & 0x3F);
  channel.sourceId = reader.U16();
  channel.descriptors = Descriptors(reader);
  return channel;
}

}  // namespace

std::optional<TableSection<Tvct>> ParseTvctSection(std::span<const std::uint8_t> data) {
  const auto section = OpenLongSection(data, kTvctTableId);
  if (!section) return std::nullopt;
  TableSection<Tvct> parsed{section->header, {}};
  Tvct& table = parsed.part;
  table.transportStreamId = section->header.idExtension;
  table.version = section->header.version;

  ByteReader body(section->body);
  table.protocolVersion = body.U8();
  if (table.protocolVersion != 0) return std::nullopt;
  const int count = body.U8();
  for (int i = 0; i < count && !body.Error(); ++i) table.channels.push_back(ReadChannel(body));
  table.descriptors = Descriptors(body);
  if (body.Error()) return std::nullopt;
  return parsed;
}

void AppendSection(Tvct& table, const Tvct& part) {
  table.channels.insert(table.channels.end(), part.channels.begin(), part.channels.end());
  table.descriptors.insert(table.descriptors.end(), part.descriptors.begin(),
                           part.descriptors.end());
}
