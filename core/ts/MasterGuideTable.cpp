#include "core/ts/MasterGuideTable.h"

#include "core/ts/ByteReader.h"

namespace {

std::vector<std::uint8_t> Descriptors(ByteReader& reader) {
  const auto bytes = reader.Bytes(reader.U16() & 0x0FFF);
  return {bytes.begin(), bytes.end()};
}

}  // namespace

std::optional<MgtEntry> Mgt::FindTable(std::uint16_t tableType) const {
  for (const MgtEntry& entry : tables) {
    if (entry.tableType == tableType) return entry;
  }
  return std::nullopt;
}

std::optional<TableSection<Mgt>> ParseMgtSection(std::span<const std::uint8_t> data) {
  const auto section = OpenLongSection(data, kMgtTableId);
  if (!section) return std::nullopt;
  TableSection<Mgt> parsed{section->header, {}};
  Mgt& table = parsed.part;
  table.version = section->header.version;

  ByteReader body(section->body);
  table.protocolVersion = body.U8();
  if (table.protocolVersion != 0) return std::nullopt;
  const int count = body.U16();
  for (int i = 0; i < count && !body.Error(); ++i) {
    MgtEntry entry;
    entry.tableType = body.U16();
    entry.pid = body.U16() & 0x1FFF;
    entry.version = body.U8() & 0x1F;
    entry.byteCount = body.U32();
    entry.descriptors = Descriptors(body);
    table.tables.push_back(std::move(entry));
  }
  table.descriptors = Descriptors(body);
  if (body.Error()) return std::nullopt;
  return parsed;
}

void AppendSection(Mgt& table, const Mgt& part) {
  table.tables.insert(table.tables.end(), part.tables.begin(), part.tables.end());
  table.descriptors.insert(table.descriptors.end(), part.descriptors.begin(),
                           part.descriptors.end());
}
