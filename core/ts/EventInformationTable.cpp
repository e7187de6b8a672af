#include "core/ts/EventInformationTable.h"

#include "core/ts/ByteReader.h"

namespace {

// One event of the loop; nothing when its title is not one whole
// multiple-string structure. Running past the end sets the reader's error.
std::optional<EitEvent> ReadEvent(ByteReader& reader) {
  EitEvent event;
  event.eventId = reader.U16() & 0x3FFF;
  event.startTime = reader.U32();
  const std::uint32_t timing = (std::uint32_t{reader.U8()} << 16) | reader.U16();
  event.etmLocation = static_cast<std::uint8_t>((timing >> 20) & 0x03);
  event.lengthSeconds = timing & 0x0FFFFF;
  const std::size_t titleLength = reader.U8();
  const auto titleBytes = reader.Bytes(titleLength);
  if (reader.Error()) return std::nullopt;
  auto title = ParseMultipleString(titleBytes);
  if (!title) return std::nullopt;
  event.title = std::move(*title);
  const auto descriptors = reader.Bytes(reader.U16() & 0x0FFF);
  event.descriptors.assign(descriptors.begin(), descriptors.end());
  return event;
}

}  // namespace

std::optional<TableSection<Eit>> ParseEitSection(std::span<const std::uint8_t> data) {
  const auto section = OpenLongSection(data, kEitTableId);
  if (!section) return std::nullopt;
  TableSection<Eit> parsed{section->header, {}};
  Eit& table = parsed.part;
  table.sourceId = section->header.idExtension;
  table.version = section->header.version;

  ByteReader body(section->body);
  table.protocolVersion = body.U8();
  if (table.protocolVersion != 0) return std::nullopt;
  const int count = body.U8();
  for (int i = 0; i < count && !body.Error(); ++i) {
    auto event = ReadEvent(body);
    if (!event) return std::nullopt;
    table.events.push_back(std::move(*event));
  }
  if (body.Error()) return std::nullopt;
  return parsed;
}

void AppendSection(Eit& table, const Eit& part) {
  table.events.insert(table.events.end(), part.events.begin(), part.events.end());
}
