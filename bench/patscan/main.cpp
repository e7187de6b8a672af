// patscan: the benchmark program of the transport-stream player's PAT scan.
//
//   patscan gen FILE SIZE_BYTES [PAT_OFFSET_BYTES]   null packets, and one PAT
//                                                    (programs 1 and 2) and the
//                                                    PMTs at that offset when given
//   patscan scan FILE                                scans it as the player does;
//                                                    prints programs=N and seconds=S
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/ts/PsiTables.h"
#include "core/ts/TsPacket.h"
#include "player/ProgramPidTable.h"

namespace {

void AppendSection(std::vector<std::uint8_t>& out, std::uint16_t pid, const std::vector<std::uint8_t>& section) {
  std::vector<std::uint8_t> payload{0};
  payload.insert(payload.end(), section.begin(), section.end());
  const BuiltPacket built = BuildTsPacket(pid, 0, true, std::nullopt, payload);
  out.insert(out.end(), built.packet.bytes.begin(), built.packet.bytes.end());
}

int Generate(const char* file, unsigned long long size, long long patOffset) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return 1;
  std::vector<std::uint8_t> block;
  const TsPacket null = TsPacket::Null();
  for (int i = 0; i < 5577; ++i) block.insert(block.end(), null.bytes.begin(), null.bytes.end());
  std::vector<std::uint8_t> tables;
  AppendSection(tables, kPatPid, SerializePat({1, 0, {{1, 0x30}, {2, 0x40}}}));
  AppendSection(tables, 0x30, SerializePmt({1, 0, 0x100, {{kStreamTypeMpeg2Video, 0x100}, {kStreamTypeAc3Audio, 0x104}}}));
  AppendSection(tables, 0x40, SerializePmt({2, 0, 0x200, {{kStreamTypeMpeg2Video, 0x200}, {kStreamTypeAc3Audio, 0x204}}}));
  const unsigned long long packets = size / kTsPacketSize;
  const unsigned long long patPacket = patOffset < 0 ? ~0ull : static_cast<unsigned long long>(patOffset) / kTsPacketSize;
  for (unsigned long long at = 0; at < packets;) {
    if (at == patPacket) {
      out.write(reinterpret_cast<const char*>(tables.data()), static_cast<std::streamsize>(tables.size()));
      at += tables.size() / kTsPacketSize;
      continue;
    }
    unsigned long long count = std::min<unsigned long long>(block.size() / kTsPacketSize, packets - at);
    if (at < patPacket && patPacket < at + count) count = patPacket - at;
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(count * kTsPacketSize));
    at += count;
  }
  return out ? 0 : 1;
}

int Scan(const char* file) {
  const auto start = std::chrono::steady_clock::now();
  const auto table = ScanProgramFile(file);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!table) return 1;
  std::printf("programs=%zu\nseconds=%.3f\n", table->size(), seconds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "gen" && (argc == 4 || argc == 5)) {
    return Generate(argv[2], std::strtoull(argv[3], nullptr, 10), argc == 5 ? std::strtoll(argv[4], nullptr, 10) : -1);
  }
  if (command == "scan" && argc == 3) return Scan(argv[2]);
  std::fprintf(stderr, "usage: patscan gen FILE SIZE [PAT_OFFSET] | patscan scan FILE\n");
  return 2;
}
