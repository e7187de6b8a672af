#pragma once

#include <cstdint>
#include <optional>

#include "core/ts/TsPacket.h"

// Turns 90 kHz presentation time stamps into stream times (100 ns units) at
// which a renderer should present the samples.
//
// Live (the caller passes the current stream time with each call): the first
// program clock reference after a reset is tied to the moment it arrives, so
// a sample is presented when the clock has moved on by its PTS minus that PCR
// (the encoder's delay, about half a second).
// File (no current time): the first PTS after a reset is presented at
// kFileLead, the others relative to it, and the renderers pace the playback.
//
// A PCR that goes back, or jumps ahead by more than a second (a source that
// loops, or another channel), ties the clock anew and counts as a jump, which
// the caller marks on the next sample of each output.
class TimestampMapper {
 public:
  static constexpr std::int64_t kFileLead = 0;  // 100 ns units
  static constexpr std::uint64_t kMaxPcrStep = 27'000'000;  // one second of 27 MHz

  // Forgets the anchor: the next PCR (live) or PTS (file) sets a new one.
  void Reset();

  // A PCR of the stream's clock PID arrived at stream time `now` (live) or
  // with no time (file).
  void OnPcr(Pcr27 pcr, std::optional<std::int64_t> now);

  // The stream time for `pts`, or nothing while no anchor is set (live, before
  // the first PCR).
  std::optional<std::int64_t> Map(std::uint64_t pts, bool live);

  int Jumps() const { return jumps_; }

 private:
  // 33-bit PTS difference a - b, taken as the shorter way round the wrap.
  static std::int64_t PtsDelta(std::uint64_t a, std::uint64_t b);

  std::optional<std::uint64_t> anchorPts_;  // 90 kHz
  std::int64_t anchorTime_ = 0;             // 100 ns
  std::optional<Pcr27> lastPcr_;
  std::int64_t lastTime_ = 0;               // latest stream time handed out
  bool handedOut_ = false;
  bool reanchorOnPts_ = false;              // file: a jump waits for the next PTS
  int jumps_ = 0;
};
