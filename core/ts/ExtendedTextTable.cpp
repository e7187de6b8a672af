#include "core/ts/ExtendedTextTable.h"

#include "core/ts/ByteReader.h"

std::optional<TableSection<Ett>> ParseEttSection(std::span<const std::uint8_t> data) {
  const auto section = OpenLongSection(data, kEttTableId);
  if (!section) return std::nullopt;
  TableSection<Ett> parsed{section->header, {}};
  Ett& table = parsed.part;
  table.idExtension = section->header.idExtension;
  table.version = section->header.version;

  ByteReader body(section->body);
  table.protocolVersion = body.U8();
  if (table.protocolVersion != 0) return std::nullopt;
  table.etmId = body.U32();
  if (body.Error()) return std::nullopt;
  auto text = ParseMultipleString(body.Bytes(body.Remaining()));
  if (!text) return std::nullopt;
  table.text = std::move(*text);
  return parsed;
}
