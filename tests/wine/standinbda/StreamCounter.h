#pragma once
// What a transport stream brought: bytes, packets, the span of its clock,
// the transport stream id of its PAT and the discontinuities flagged.
// Fed on the streaming thread, read by the main thread.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>

class StreamCounter {
 public:
  struct Counts {
    std::uint64_t bytes = 0;
    std::uint64_t packets = 0;
    std::uint64_t samples = 0;
    std::uint64_t discontinuities = 0;
    double pcrSeconds = 0;  // clock time from the first to the last PCR
    int tsid = -1;          // of the last PAT; -1 when none came
  };

  void Add(const std::uint8_t* data, std::size_t size, bool discontinuity);
  Counts Take();  // the counts so far; counting starts again from zero

 private:
  std::mutex lock;
  Counts counts;
  std::optional<std::uint16_t> pcrPid;
  std::optional<std::uint64_t> firstPcr;
  std::uint64_t lastPcr = 0;
  std::uint64_t pcrTicks = 0;  // summed over runs of the clock
};
