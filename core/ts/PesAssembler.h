#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "core/ts/TsPacket.h"

// One PES packet's elementary-stream bytes with its presentation time stamp
// (90 kHz ticks) when it carries one.
struct PesPayload {
  std::uint8_t streamId = 0;
  std::optional<std::uint64_t> pts;
  std::span<const std::uint8_t> data;
  bool discontinuity = false;  // packets were lost before this one
};

// Collects the PES packets of one PID. Push-driven: feed every packet of the
// PID; a PES packet is handed on when the next one starts or, when its length
// is given, as soon as it is whole. Damaged headers are counted and skipped.
class PesAssembler {
 public:
  using PesHandler = std::function<void(const PesPayload&)>;

  explicit PesAssembler(PesHandler handler) : handler_(std::move(handler)) {}

  void Feed(const TsPacket& packet);
  // Hands on a PES packet still being collected (at the end of a stream).
  void Flush();
  void Reset();

  int DamagedPackets() const { return damaged_; }

 private:
  void Emit();

  PesHandler handler_;
  std::vector<std::uint8_t> pending_;
  bool collecting_ = false;
  bool lostBefore_ = false;
  int lastCounter_ = -1;
  int damaged_ = 0;
};

// Encodes a PES header for `streamId` with a PTS; `payloadLength` 0 writes an
// unbounded length (allowed for video in a transport stream).
std::vector<std::uint8_t> PesHeader(std::uint8_t streamId, std::uint64_t pts,
                                    std::size_t payloadLength);

// The PTS of the PES header at the start of `pes` (90 kHz ticks), or nothing
// when the bytes do not begin a PES header or it carries no PTS.
std::optional<std::uint64_t> PesHeaderPts(std::span<const std::uint8_t> pes);
