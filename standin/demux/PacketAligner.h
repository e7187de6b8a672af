#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/ts/TsPacket.h"

// Cuts a byte stream that arrives in chunks of any size into 188-byte
// transport-stream packets. A packet is taken when its sync byte is followed,
// 188 bytes on, by the next one; otherwise the aligner looks for the next
// place where two sync bytes 188 apart start again. A packet cut short by the
// next one is dropped; stray bytes between packets are skipped. Both are
// counted, never read past.
class PacketAligner {
 public:
  using PacketHandler = std::function<void(const TsPacket&)>;

  struct Status {
    std::uint64_t packets = 0;       // handed on
    std::uint64_t resyncs = 0;       // times the packet grid was lost
    std::uint64_t truncated = 0;     // packets dropped because the next began inside them
    std::uint64_t skippedBytes = 0;  // bytes that belonged to no packet (truncated ones included)
  };

  void Feed(std::span<const std::uint8_t> bytes, const PacketHandler& handler);
  // Forgets a partly received packet (after a seek or a flush).
  void Reset();

  const Status& Counts() const { return status_; }

 private:
  // The first place at or after `from` where a packet starts and the next one
  // follows 188 bytes later; pending_.size() when not (yet) found.
  std::size_t FindConfirmedSync(std::size_t from) const;

  std::vector<std::uint8_t> pending_;
  Status status_;
};
