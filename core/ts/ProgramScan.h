#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/ts/PsiTables.h"
#include "core/ts/SectionAssembler.h"
#include "core/ts/TsPacket.h"

// How a program's sound is coded, as far as a demultiplexer's output pin
// must know it: AC-3 (stream type 0x81, and the guess when the PMT is not
// known) or MPEG audio (stream types 0x03 and 0x04).
enum class AudioCoding { Ac3, Mpeg };
AudioCoding AudioCodingOf(std::uint8_t streamType);

// One program of a stream as its tables describe it: the program number and
// PMT PID from the PAT, and the video and audio PIDs from its PMT when the
// PMT was seen (the first MPEG-2 video stream, the first AC-3 or MPEG audio
// stream and its stream type).
struct ScannedProgram {
  std::uint16_t programNumber = 0;
  std::uint16_t pmtPid = 0;
  bool pmtFound = false;
  std::optional<std::uint16_t> videoPid;
  std::optional<std::uint16_t> audioPid;
  std::uint8_t audioStreamType = 0;  // the PMT's stream type of that audio stream, 0 without one

  friend bool operator==(const ScannedProgram&, const ScannedProgram&) = default;
};

// Finds the programs of a transport stream from its start: the first current
// PAT, then the PMTs of its programs. Push-driven: feed the stream's bytes
// in blocks of any size (packets are taken on the 188-byte grid from the
// first byte fed; a packet cut by a block boundary is joined with the next
// block); Done() says when nothing more is wanted. After the PAT, the PMTs
// are looked for in at most `pmtSearchBytes` more bytes, so a program whose
// PMT never comes does not make the caller read the whole file.
class ProgramScan {
 public:
  static constexpr std::uint64_t kDefaultPmtSearchBytes = 4 * 1024 * 1024;

  explicit ProgramScan(std::uint64_t pmtSearchBytes = kDefaultPmtSearchBytes);
  ProgramScan(const ProgramScan&) = delete;
  ProgramScan& operator=(const ProgramScan&) = delete;

  void Feed(std::span<const std::uint8_t> bytes);
  bool Done() const { return done_; }

  bool PatFound() const { return patFound_; }
  // The programs of the PAT other than program 0 (the network PID), in the
  // PAT's order.
  const std::vector<ScannedProgram>& Programs() const { return programs_; }

 private:
  void FeedPacket(const TsPacket& packet);
  void OnPat(std::span<const std::uint8_t> section);
  void OnPmt(std::uint16_t pid, std::span<const std::uint8_t> section);
  bool AllPmtsFound() const;

  std::uint64_t pmtSearchBytes_;
  std::uint64_t bytesAfterPat_ = 0;
  std::vector<std::uint8_t> carry_;  // the start of a packet cut by a block's end
  SectionAssembler pat_;
  std::map<std::uint16_t, std::unique_ptr<SectionAssembler>> pmts_;
  std::vector<ScannedProgram> programs_;
  bool patFound_ = false;
  bool done_ = false;
};
