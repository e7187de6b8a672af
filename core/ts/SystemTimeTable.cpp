#include "core/ts/SystemTimeTable.h"

#include "core/ts/ByteReader.h"

std::optional<TableSection<Stt>> ParseSttSection(std::span<const std::uint8_t> data) {
  const auto section = OpenLongSection(data, kSttTableId);
  if (!section) return std::nullopt;
  ByteReader body(section->body);
  TableSection<Stt> parsed{section->header, {}};
  Stt& stt = parsed.part;
  stt.protocolVersion = body.U8();
  if (stt.protocolVersion != 0) return std::nullopt;
  stt.systemTime = body.U32();
  stt.gpsUtcOffset = body.U8();
  const std::uint8_t status = body.U8();
  stt.daylightSaving = (status & 0x80) != 0;
  stt.daylightSavingDay = status & 0x1F;
  stt.daylightSavingHour = body.U8();
  const auto descriptors = body.Bytes(body.Remaining());
  stt.descriptors.assign(descriptors.begin(), descriptors.end());
  if (body.Error()) return std::nullopt;
  return parsed;
}

std::int64_t UtcUnixSeconds(const Stt& stt) {
  return std::int64_t{stt.systemTime} + kGpsEpochUnixSeconds - stt.gpsUtcOffset;
}
