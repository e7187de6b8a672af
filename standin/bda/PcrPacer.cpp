#include "standin/bda/PcrPacer.h"

#include "core/ts/TsPacket.h"

namespace standin {

namespace {

constexpr double kPcrTicksPerSecond = 27000000.0;
constexpr PcrPacer::Pcr27 kLargestStep = 27000000;  // one second
// How far a deliverer may fall behind (a busy machine) and still catch up:
// on the stream's own clock, what a capture device holds, so that the
// stream keeps to the wall clock as a broadcast does; on a byte count alone
// (no PCR, or one out of step, as in noise) only a second, as a guess of
// the rate must not turn into a burst.
constexpr auto kMostBehindOnClock = std::chrono::seconds(15);
constexpr auto kMostBehindByBytes = std::chrono::seconds(1);

PcrPacer::Clock::duration TicksToDuration(double ticks) {
  return std::chrono::duration_cast<PcrPacer::Clock::duration>(
      std::chrono::duration<double>(ticks / kPcrTicksPerSecond));
}

PcrPacer::Clock::duration BytesToDuration(std::size_t bytes, double bytesPerSecond) {
  return std::chrono::duration_cast<PcrPacer::Clock::duration>(
      std::chrono::duration<double>(static_cast<double>(bytes) / bytesPerSecond));
}

}  // namespace

void PcrPacer::Restart() { *this = PcrPacer(); }

void PcrPacer::Anchor(Pcr27 pcr, TimePoint when) {
  anchored = true;
  anchorPcr = pcr;
  anchorTime = when;
}

PcrPacer::TimePoint PcrPacer::Schedule(std::size_t bytes, std::optional<Pcr27> pcr,
                                       TimePoint now) {
  if (!started) {
    started = true;
    lastDue = now;
    bytesSincePcr = 0;
    if (pcr) {
      Anchor(*pcr, now);
      lastPcr = *pcr;
    }
    return now;
  }

  // Where the chunk falls by its byte count alone: the estimate used when
  // it has no PCR, and the place a jump in the clock re-anchors to.
  const TimePoint byBytes = lastDue + BytesToDuration(bytes, bytesPerSecond);
  TimePoint due = byBytes;
  bool onClock = false;
  bytesSincePcr += bytes;
  if (pcr) {
    // In step: the clock moved on, by at most a second, as the bytes went
    // by. (A PCR that repeats the last one is noise met again as its file
    // loops: time never stands still while a stream flows.)
    onClock = anchored && *pcr > lastPcr && *pcr - lastPcr <= kLargestStep;
    if (onClock) {
      bytesPerSecond = static_cast<double>(bytesSincePcr) /
                       (static_cast<double>(*pcr - lastPcr) / kPcrTicksPerSecond);
      due = anchorTime + TicksToDuration(static_cast<double>(*pcr - anchorPcr));
    } else {
      Anchor(*pcr, byBytes);
    }
    lastPcr = *pcr;
    bytesSincePcr = 0;
  }

  if (due + (onClock ? kMostBehindOnClock : kMostBehindByBytes) < now) {
    // Further behind than can be caught up: what was broadcast meanwhile is
    // gone, and the stream carries on from now.
    due = now;
    if (pcr) Anchor(*pcr, now);
  }
  lastDue = due;
  return due;
}

std::optional<PcrPacer::Pcr27> LastPcrIn(std::span<const std::uint8_t> data,
                                         std::optional<std::uint16_t>& pcrPid) {
  std::optional<PcrPacer::Pcr27> last;
  std::size_t at = 0;
  while (at + kTsPacketSize <= data.size()) {
    // A packet starts at a sync byte that is followed by another one a
    // packet later (or by the end of the data); anything else is skipped
    // byte by byte until the stream is back in step.
    const std::size_t next = at + kTsPacketSize;
    if (data[at] != kTsSyncByte || (next < data.size() && data[next] != kTsSyncByte)) {
      ++at;
      continue;
    }
    const TsPacket packet = TsPacket::FromBytes(data.subspan(at, kTsPacketSize));
    at = next;
    const auto pcr = packet.Pcr();
    if (!pcr) continue;
    if (!pcrPid) pcrPid = packet.Pid();
    if (packet.Pid() == *pcrPid) last = pcr;
  }
  return last;
}

}  // namespace standin
