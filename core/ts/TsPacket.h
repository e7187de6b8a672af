#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

inline constexpr std::size_t kTsPacketSize = 188;
inline constexpr std::uint8_t kTsSyncByte = 0x47;
inline constexpr std::uint16_t kPatPid = 0x0000;
inline constexpr std::uint16_t kNullPid = 0x1FFF;

// Program clock reference in 27 MHz ticks (base x 300 + extension).
using Pcr27 = std::uint64_t;

// One 188-byte transport-stream packet with accessors for its header fields.
// Accessors never read outside the packet, whatever its contents.
class TsPacket {
 public:
  std::array<std::uint8_t, kTsPacketSize> bytes{};

  // A packet whose first kTsPacketSize bytes are taken from `data` (which must
  // hold at least that many).
  static TsPacket FromBytes(std::span<const std::uint8_t> data);

  // A null packet (PID 0x1FFF, payload of 0xFF bytes).
  static TsPacket Null();

  bool HasSync() const { return bytes[0] == kTsSyncByte; }
  bool TransportError() const { return (bytes[1] & 0x80) != 0; }
  bool PayloadUnitStart() const { return (bytes[1] & 0x40) != 0; }
  std::uint16_t Pid() const {
    return static_cast<std::uint16_t>(((bytes[1] & 0x1F) << 8) | bytes[2]);
  }
  bool HasAdaptationField() const { return (bytes[3] & 0x20) != 0; }
  bool HasPayload() const { return (bytes[3] & 0x10) != 0; }
  std::uint8_t ContinuityCounter() const { return bytes[3] & 0x0F; }
  // The adaptation field's random-access indicator: decoding may start with
  // the PES packet that begins here.
  bool RandomAccess() const {
    return HasAdaptationField() && bytes[4] >= 1 && (bytes[5] & 0x40) != 0;
  }

  // The PCR of the adaptation field, when it carries one.
  std::optional<Pcr27> Pcr() const;

  // The bytes after the header and the adaptation field; empty when the
  // packet has no payload or its adaptation field claims too much.
  std::span<const std::uint8_t> Payload() const;
};

// Builds a packet of `pid` carrying as much of `payload` as fits, with an
// optional PCR; a payload shorter than the room is padded by adaptation-field
// stuffing so the payload ends the packet; `randomAccess` sets the
// adaptation field's random-access indicator. Returns the packet and the
// number of payload bytes it took.
struct BuiltPacket {
  TsPacket packet;
  std::size_t payloadTaken = 0;
};
BuiltPacket BuildTsPacket(std::uint16_t pid, std::uint8_t continuityCounter, bool payloadUnitStart,
                          std::optional<Pcr27> pcr, std::span<const std::uint8_t> payload,
                          bool randomAccess = false);
