#pragma once
// The stand-in stream buffer's files, backing files and content recordings
// alike: an MPEG-2 transport stream of one program re-multiplexed from the
// elementary streams the sink receives.
//
//   program 1, PMT on PID 0x30; MPEG-2 video (stream type 0x02) on PID 0x31,
//   which also carries the PCR; AC-3 audio (stream type 0x81) on PID 0x34;
//   PAT and PMT before the first picture, before every picture that starts
//   a sequence and at least every 100 ms; one PES packet per sample received,
//   stamped with its PTS; the packet that starts a picture with a sequence
//   header carries the random-access indicator (where playback may start).
//
// The PTS run on without a jump: they are taken from the samples' stream
// times, so a source that loops or changes its clock leaves no gap.

#include <cstdint>
#include <optional>

namespace streambuffer {

inline constexpr std::uint16_t kProgramNumber = 1;
inline constexpr std::uint16_t kPmtPid = 0x30;
inline constexpr std::uint16_t kVideoPid = 0x31;
inline constexpr std::uint16_t kAudioPid = 0x34;

enum class Elementary { Video, Audio };

// 90 kHz PTS and 100 ns media times.
inline constexpr std::uint64_t kPtsPerSecond = 90000;
inline constexpr std::int64_t kUnitsPerSecond = 10'000'000;
inline constexpr std::uint64_t kPtsWrap = 1ull << 33;

inline std::int64_t PtsToTime(std::int64_t pts) { return pts * 1000 / 9; }
inline std::int64_t TimeToPts(std::int64_t time) { return time * 9 / 1000; }

// The unwrapped PTS nearest to `reference` whose low 33 bits are `pts33`.
inline std::uint64_t UnwrapPts(std::uint64_t pts33, std::uint64_t reference) {
  const std::uint64_t base = reference & ~(kPtsWrap - 1);
  std::uint64_t best = base | (pts33 & (kPtsWrap - 1));
  if (best + kPtsWrap / 2 < reference) best += kPtsWrap;
  else if (best > reference + kPtsWrap / 2 && best >= kPtsWrap) best -= kPtsWrap;
  return best;
}

}  // namespace streambuffer
