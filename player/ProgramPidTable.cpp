#include "player/ProgramPidTable.h"

#include <cstdio>
#include <memory>

ProgramPids GuessedPids(std::uint16_t pmtPid) {
  const std::uint32_t video = pmtPid | 1u;
  return {video, video + 3};
}

std::vector<ProgramPids> ProgramPidTable(const std::vector<ScannedProgram>& programs) {
  std::vector<ProgramPids> table;
  for (const ScannedProgram& program : programs) {
    if (table.size() == kMaxPrograms) break;
    ProgramPids pids = GuessedPids(program.pmtPid);
    if (program.videoPid) pids.video = *program.videoPid;
    if (program.audioPid) pids.audio = *program.audioPid;
    pids.audioCoding = AudioCodingOf(program.audioStreamType);
    table.push_back(pids);
  }
  return table;
}

PidChanges ProgramMapping::Select(const std::optional<ProgramPids>& program) {
  if (program == mapped) return {};
  PidChanges changes{mapped, program};
  mapped = program;
  return changes;
}

std::string ProgramLine(const ProgramPids& pids) {
  char text[16];
  std::snprintf(text, sizeof text, "0x0%X", static_cast<unsigned>(pids.video));
  return text;
}

std::optional<std::vector<ProgramPids>> ScanProgramFile(const std::filesystem::path& file) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> in(std::fopen(file.string().c_str(), "rb"));
  if (!in) return std::nullopt;
  ProgramScan scan;
  std::vector<std::uint8_t> block(kScanBlockBytes);
  while (!scan.Done()) {
    const std::size_t read = std::fread(block.data(), 1, block.size(), in.get());
    if (read == 0) break;
    scan.Feed(std::span(block).first(read));
  }
  return ProgramPidTable(scan.Programs());
}
