#include "core/ts/PsiTables.h"

#include "core/ts/ByteReader.h"
#include "core/ts/Crc32Mpeg.h"
#include "core/ts/LongSection.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// Fills in the section length and appends the CRC.
std::vector<std::uint8_t> FinishSection(std::vector<std::uint8_t> section) {
  const std::size_t length = section.size() - 3 + 4;
  section[1] = static_cast<std::uint8_t>(0xB0 | ((length >> 8) & 0x0F));
  section[2] = static_cast<std::uint8_t>(length & 0xFF);
  const std::uint32_t crc = Crc32Mpeg(section);
  for (int shift = 24; shift >= 0; shift -= 8) section.push_back(static_cast<std::uint8_t>(crc >> shift));
  return section;
}

std::vector<std::uint8_t> SectionStart(std::uint8_t tableId, unsigned idExtension,
                                       std::uint8_t version) {
  std::vector<std::uint8_t> section{tableId, 0, 0};
  Put16(section, idExtension);
  section.push_back(static_cast<std::uint8_t>(0xC1 | ((version & 0x1F) << 1)));
  section.push_back(0);  // section number
  section.push_back(0);  // last section number
  return section;
}

// Checks the table id, length and CRC; returns a reader over the body
// between the eight header bytes and the CRC.
std::optional<ByteReader> OpenSection(std::span<const std::uint8_t> data, std::uint8_t tableId,
                                      std::uint16_t& idExtension, std::uint8_t& version) {
  const auto section = OpenLongSection(data, tableId);
  if (!section) return std::nullopt;
  idExtension = section->header.idExtension;
  version = section->header.version;
  return ByteReader(section->body);
}

}  // namespace

std::optional<std::uint16_t> PmtTable::FindStream(std::uint8_t streamType) const {
  for (const PmtStream& stream : streams) {
    if (stream.streamType == streamType) return stream.pid;
  }
  return std::nullopt;
}

std::optional<std::size_t> SectionLength(std::span<const std::uint8_t> data) {
  if (data.size() < 3) return std::nullopt;
  return 3 + (((data[1] & 0x0Fu) << 8) | data[2]);
}

std::vector<std::uint8_t> SerializePat(const PatTable& pat) {
  auto section = SectionStart(kPatTableId, pat.transportStreamId, pat.version);
  for (const PatEntry& entry : pat.programs) {
    Put16(section, entry.programNumber);
    Put16(section, 0xE000u | entry.pid);
  }
  return FinishSection(std::move(section));
}

std::vector<std::uint8_t> SerializePmt(const PmtTable& pmt) {
  auto section = SectionStart(kPmtTableId, pmt.programNumber, pmt.version);
  Put16(section, 0xE000u | pmt.pcrPid);
  Put16(section, 0xF000u);  // no program descriptors
  for (const PmtStream& stream : pmt.streams) {
    section.push_back(stream.streamType);
    Put16(section, 0xE000u | stream.pid);
    Put16(section, 0xF000u);  // no stream descriptors
  }
  return FinishSection(std::move(section));
}

std::optional<PatTable> ParsePat(std::span<const std::uint8_t> data) {
  PatTable pat;
  auto body = OpenSection(data, kPatTableId, pat.transportStreamId, pat.version);
  if (!body || body->Remaining() % 4 != 0) return std::nullopt;
  while (body->Remaining() >= 4) {
    PatEntry entry;
    entry.programNumber = body->U16();
    entry.pid = body->U16() & 0x1FFF;
    pat.programs.push_back(entry);
  }
  return pat;
}

std::optional<PmtTable> ParsePmt(std::span<const std::uint8_t> data) {
  PmtTable pmt;
  auto body = OpenSection(data, kPmtTableId, pmt.programNumber, pmt.version);
  if (!body) return std::nullopt;
  pmt.pcrPid = body->U16() & 0x1FFF;
  body->Skip(body->U16() & 0x0FFF);
  while (body->Remaining() >= 5) {
    PmtStream stream;
    stream.streamType = body->U8();
    stream.pid = body->U16() & 0x1FFF;
    body->Skip(body->U16() & 0x0FFF);
    pmt.streams.push_back(stream);
  }
  if (body->Error() || body->Remaining() != 0) return std::nullopt;
  return pmt;
}
