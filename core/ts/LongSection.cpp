#include "core/ts/LongSection.h"

#include "core/ts/ByteReader.h"
#include "core/ts/Crc32Mpeg.h"
#include "core/ts/PsiTables.h"

namespace {
constexpr std::size_t kHeaderBytes = 8;
constexpr std::size_t kCrcBytes = 4;
}  // namespace

std::optional<LongSection> OpenLongSection(std::span<const std::uint8_t> data,
                                           std::uint8_t tableId) {
  const auto length = SectionLength(data);
  if (!length || *length < kHeaderBytes + kCrcBytes || *length > data.size() ||
      data[0] != tableId) {
    return std::nullopt;
  }
  const auto section = data.first(*length);
  if (Crc32Mpeg(section) != 0) return std::nullopt;

  ByteReader reader(section);
  LongSection opened;
  opened.header.tableId = reader.U8();
  reader.Skip(2);  // syntax flags and length, taken above
  opened.header.idExtension = reader.U16();
  const std::uint8_t versionByte = reader.U8();
  opened.header.version = static_cast<std::uint8_t>((versionByte >> 1) & 0x1F);
  opened.header.current = (versionByte & 0x01) != 0;
  opened.header.sectionNumber = reader.U8();
  opened.header.lastSectionNumber = reader.U8();
  if (opened.header.sectionNumber > opened.header.lastSectionNumber) return std::nullopt;
  opened.body = section.subspan(kHeaderBytes, *length - kHeaderBytes - kCrcBytes);
  return opened;
}
