#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/ts/ProgramScan.h"

// The programs the transport-stream player offers: per program the video
// and audio PIDs it maps on the demultiplexer's two pins.
struct ProgramPids {
  std::uint32_t video = 0;
  std::uint32_t audio = 0;
  AudioCoding audioCoding = AudioCoding::Ac3;  // the audio pin's media type

  friend bool operator==(const ProgramPids&, const ProgramPids&) = default;
};

inline constexpr std::size_t kMaxPrograms = 10;

// The PIDs guessed from a PMT PID when the program's PMT is not in the file:
// video = the PMT PID with bit 0 set, audio = video + 3.
ProgramPids GuessedPids(std::uint16_t pmtPid);

// One entry per program of the PAT, in its order, at most kMaxPrograms: the
// PMT's video and audio PIDs, each kind that the PMT lacks (or the whole
// program, when its PMT was not found) guessed from the PMT PID.
std::vector<ProgramPids> ProgramPidTable(const std::vector<ScannedProgram>& programs);

// The program mapped on the demultiplexer's pins, and what changes when
// another program (or none: a file without programs) takes its place. A
// file without programs maps nothing, so no stray PID stays on a pin.
struct PidChanges {
  std::optional<ProgramPids> unmap;
  std::optional<ProgramPids> map;
};
class ProgramMapping {
 public:
  PidChanges Select(const std::optional<ProgramPids>& program);
  const std::optional<ProgramPids>& Mapped() const { return mapped; }
  // The graph and its pins are gone.
  void Clear() { mapped.reset(); }

 private:
  std::optional<ProgramPids> mapped;
};

// The program's line in the combo box: the video PID as "0x0%X".
std::string ProgramLine(const ProgramPids& pids);

// How the file is read while it is scanned: in blocks of this size.
inline constexpr std::size_t kScanBlockBytes = 1 << 20;

// Scans a file from its start for its programs, reading large blocks and
// stopping as soon as the PAT's PMTs are read (or a few MiB after the PAT
// when some never come). Nothing when the file cannot be opened; an empty
// table when it holds no PAT.
std::optional<std::vector<ProgramPids>> ScanProgramFile(const std::filesystem::path& file);
