#include "ElementaryUnits.h"

#include "core/ts/PesAssembler.h"
#include "core/ts/TsPacket.h"

#include <cstdio>
#include <cstring>

std::vector<ElementaryUnit> ReadElementaryUnits(const std::string& path, std::uint16_t pid) {
  std::vector<ElementaryUnit> units;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return units;
  PesAssembler assembler([&units](const PesPayload& payload) {
    ElementaryUnit unit;
    unit.hasPts = payload.pts.has_value();
    unit.pts = payload.pts.value_or(0);
    unit.bytes.assign(payload.data.begin(), payload.data.end());
    units.push_back(std::move(unit));
  });
  std::uint8_t bytes[kTsPacketSize];
  while (std::fread(bytes, 1, sizeof bytes, file) == sizeof bytes) {
    TsPacket packet;
    std::memcpy(packet.bytes.data(), bytes, sizeof bytes);
    if (packet.HasSync() && packet.Pid() == pid) assembler.Feed(packet);
  }
  assembler.Flush();
  std::fclose(file);
  return units;
}
