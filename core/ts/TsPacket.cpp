#include "core/ts/TsPacket.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kPcrFieldSize = 6;

}  // namespace

TsPacket TsPacket::FromBytes(std::span<const std::uint8_t> data) {
  TsPacket packet;
  std::memcpy(packet.bytes.data(), data.data(), std::min(data.size(), kTsPacketSize));
  return packet;
}

TsPacket TsPacket::Null() {
  TsPacket packet;
  packet.bytes.fill(0xFF);
  packet.bytes[0] = kTsSyncByte;
  packet.bytes[1] = static_cast<std::uint8_t>(kNullPid >> 8);
  packet.bytes[2] = static_cast<std::uint8_t>(kNullPid & 0xFF);
  packet.bytes[3] = 0x10;
  return packet;
}

std::optional<Pcr27> TsPacket::Pcr() const {
  if (!HasAdaptationField()) return std::nullopt;
  const std::size_t length = bytes[4];
  if (length < 1 + kPcrFieldSize || (bytes[5] & 0x10) == 0) return std::nullopt;
  const std::uint8_t* p = &bytes[6];
  const Pcr27 base = (Pcr27{p[0]} << 25) | (Pcr27{p[1]} << 17) | (Pcr27{p[2]} << 9) |
                     (Pcr27{p[3]} << 1) | (p[4] >> 7);
  const Pcr27 extension = (Pcr27{p[4] & 0x01u} << 8) | p[5];
  return base * 300 + extension;
}

std::span<const std::uint8_t> TsPacket::Payload() const {
  if (!HasPayload()) return {};
  std::size_t start = kHeaderSize;
  if (HasAdaptationField()) start += 1 + bytes[4];
  if (start >= kTsPacketSize) return {};
  return std::span<const std::uint8_t>(bytes).subspan(start);
}

BuiltPacket BuildTsPacket(std::uint16_t pid, std::uint8_t continuityCounter, bool payloadUnitStart,
                          std::optional<Pcr27> pcr, std::span<const std::uint8_t> payload,
                          bool randomAccess) {
  BuiltPacket built;
  auto& b = built.packet.bytes;
  b[0] = kTsSyncByte;
  b[1] = static_cast<std::uint8_t>((payloadUnitStart ? 0x40 : 0) | ((pid >> 8) & 0x1F));
  b[2] = static_cast<std::uint8_t>(pid & 0xFF);

  const std::size_t pcrBytes = pcr ? kPcrFieldSize : 0;
  // Room for payload when the adaptation field is only as large as the PCR needs.
  const std::size_t minimalAdaptation = pcr || randomAccess ? 2 + pcrBytes : 0;
  const std::size_t room = kTsPacketSize - kHeaderSize - minimalAdaptation;
  const std::size_t taken = std::min(room, payload.size());
  built.payloadTaken = taken;

  const std::size_t adaptationTotal = kTsPacketSize - kHeaderSize - taken;  // incl. length byte
  const bool hasAdaptation = adaptationTotal > 0;
  b[3] = static_cast<std::uint8_t>((hasAdaptation ? 0x20 : 0) | (taken > 0 ? 0x10 : 0) |
                                   (continuityCounter & 0x0F));
  std::size_t at = kHeaderSize;
  if (hasAdaptation) {
    b[at++] = static_cast<std::uint8_t>(adaptationTotal - 1);
    if (adaptationTotal > 1) {
      b[at++] = static_cast<std::uint8_t>((pcr ? 0x10 : 0x00) | (randomAccess ? 0x40 : 0x00));
      if (pcr) {
        const Pcr27 base = *pcr / 300;
        const Pcr27 extension = *pcr % 300;
        b[at++] = static_cast<std::uint8_t>(base >> 25);
        b[at++] = static_cast<std::uint8_t>(base >> 17);
        b[at++] = static_cast<std::uint8_t>(base >> 9);
        b[at++] = static_cast<std::uint8_t>(base >> 1);
        b[at++] = static_cast<std::uint8_t>(((base & 1) << 7) | 0x7E | (extension >> 8));
        b[at++] = static_cast<std::uint8_t>(extension & 0xFF);
      }
      while (at < kTsPacketSize - taken) b[at++] = 0xFF;
    }
  }
  // An adaptation-only packet has no payload, and its span may hold no
  // pointer at all, which memcpy must never be given.
  if (taken > 0) std::memcpy(&b[at], payload.data(), taken);
  return built;
}
