#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>

#include "core/ts/TsPacket.h"

// Checks a transport-stream recording for what a lost or damaged write
// leaves behind: packets out of sync, gaps in a PID's continuity counter, a
// program clock that jumps, and a file that ends in the middle of a packet.
// It also measures the stream's rate from its clock, which falls short when
// whole runs of packets went missing. Packets are fed in order (Feed).
class RecordingCheck {
 public:
  // The longest step between two clock references of a PID that is not a
  // gap: the broadcast rules allow 100 ms.
  static constexpr Pcr27 kMaxPcrStep = 27'000'000 / 10;

  struct Result {
    std::uint64_t packets = 0;
    std::uint64_t syncErrors = 0;
    std::uint64_t continuityErrors = 0;
    std::uint64_t pcrGaps = 0;
    std::size_t trailingBytes = 0;  // after the last whole packet
    double pcrSeconds = 0;          // from the first to the last clock reference
    double bitsPerSecond = 0;       // bytes between those two, over that time
  };

  void Feed(const TsPacket& packet);
  // Bytes left over at the end, less than a packet.
  void Trailing(std::size_t bytes) { result.trailingBytes = bytes; }
  const Result& Outcome();

  // Reads a whole file; nothing when it cannot be opened.
  static std::optional<Result> CheckFile(const std::filesystem::path& file);

 private:
  struct PidState {
    int lastCounter = -1;
    std::optional<Pcr27> lastPcr;
  };
  std::map<std::uint16_t, PidState> pids;
  Result result;
  std::optional<std::uint16_t> clockPid;  // the first PID seen with a clock reference
  std::optional<Pcr27> firstPcr;
  std::optional<Pcr27> lastPcr;
  std::uint64_t firstPcrPacket = 0;
  std::uint64_t lastPcrPacket = 0;
};
