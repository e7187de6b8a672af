#pragma once

// Paces a transport stream in real time by its program clock references: the
// virtual tuner asks it, chunk by chunk, when each chunk is due, and waits
// until then before delivering it.
//
// The first chunk is due at once. A chunk with a PCR is due when that PCR's
// time has come, counted from the PCR that anchors the pacing. A chunk
// without one is due after the time its bytes take at the stream's measured
// byte rate (or a default rate before one is known). A deliverer that fell
// behind (a busy machine) keeps the stream's clock: the chunks it owes go
// out at once until it has caught up, so that the stream keeps to the wall
// clock as a broadcast does and a recording lasts as long as it ran. The
// pacer re-anchors, without a pause and without a burst, when the clock
// jumps (the file loops, a PCR goes backwards or leaps more than a second
// ahead), when the deliverer is more than 15 seconds behind the stream's
// clock, and when it is more than a second behind a schedule made from byte
// counts alone (a stream whose PCRs are missing or out of step, as noise's
// are).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace standin {

class PcrPacer {
 public:
  using Clock = std::chrono::steady_clock;
  using TimePoint = Clock::time_point;
  using Pcr27 = std::uint64_t;  // 27 MHz ticks

  // Byte rate assumed until two PCRs have been seen: the ATSC mux rate.
  static constexpr double kDefaultBytesPerSecond = 19392658.0 / 8.0;

  // When the chunk of `bytes` bytes, whose last PCR is `lastPcr`, is due.
  TimePoint Schedule(std::size_t bytes, std::optional<Pcr27> lastPcr, TimePoint now);

  // A new stream (a retune): the next chunk is due at once.
  void Restart();

  double BytesPerSecond() const { return bytesPerSecond; }

 private:
  void Anchor(Pcr27 pcr, TimePoint when);

  bool started = false;
  bool anchored = false;
  Pcr27 anchorPcr = 0;
  TimePoint anchorTime{};
  Pcr27 lastPcr = 0;
  TimePoint lastDue{};
  std::size_t bytesSincePcr = 0;
  double bytesPerSecond = kDefaultBytesPerSecond;
};

// The PCR of the last packet of `data` on `pcrPid` that carries one. When
// `pcrPid` is empty, the first PID found carrying a PCR becomes it (a stream
// of several programs has one clock per program). Packets are found by
// their sync bytes 188 bytes apart, so data that lost step (a chunk cut
// mid-packet, bytes lost or added) is read again from where it is back in
// step.
std::optional<PcrPacer::Pcr27> LastPcrIn(std::span<const std::uint8_t> data,
                                         std::optional<std::uint16_t>& pcrPid);

}  // namespace standin
