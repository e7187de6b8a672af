#include "core/ts/ProgramScan.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kStreamTypeMpeg1Audio = 0x03;
constexpr std::uint8_t kStreamTypeMpeg2Audio = 0x04;

bool IsCurrent(std::span<const std::uint8_t> section) {
  return section.size() > 5 && (section[5] & 0x01) != 0;
}

bool IsAudio(std::uint8_t streamType) {
  return streamType == kStreamTypeAc3Audio || streamType == kStreamTypeMpeg1Audio ||
         streamType == kStreamTypeMpeg2Audio;
}

}  // namespace

AudioCoding AudioCodingOf(std::uint8_t streamType) {
  return streamType == kStreamTypeMpeg1Audio || streamType == kStreamTypeMpeg2Audio
             ? AudioCoding::Mpeg
             : AudioCoding::Ac3;
}

ProgramScan::ProgramScan(std::uint64_t pmtSearchBytes)
    : pmtSearchBytes_(pmtSearchBytes),
      pat_([this](std::span<const std::uint8_t> section) { OnPat(section); }) {}

void ProgramScan::Feed(std::span<const std::uint8_t> bytes) {
  if (done_) return;
  if (!carry_.empty()) {
    const std::size_t wanted = std::min(kTsPacketSize - carry_.size(), bytes.size());
    carry_.insert(carry_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(wanted));
    bytes = bytes.subspan(wanted);
    if (carry_.size() < kTsPacketSize) return;
    FeedPacket(TsPacket::FromBytes(carry_));
    carry_.clear();
  }
  while (bytes.size() >= kTsPacketSize && !done_) {
    // Most packets are of no interest: their PID is checked in place before
    // one is copied out.
    const std::uint16_t pid = static_cast<std::uint16_t>(((bytes[1] & 0x1F) << 8) | bytes[2]);
    if (pid == kPatPid || (patFound_ && pmts_.contains(pid))) {
      FeedPacket(TsPacket::FromBytes(bytes));
    } else if (patFound_) {
      bytesAfterPat_ += kTsPacketSize;
      if (bytesAfterPat_ >= pmtSearchBytes_) done_ = true;
    }
    bytes = bytes.subspan(kTsPacketSize);
  }
  if (!done_) carry_.assign(bytes.begin(), bytes.end());
}

void ProgramScan::FeedPacket(const TsPacket& packet) {
  if (patFound_) {
    bytesAfterPat_ += kTsPacketSize;
    const auto pmt = pmts_.find(packet.Pid());
    if (pmt != pmts_.end()) pmt->second->Feed(packet);
    if (bytesAfterPat_ >= pmtSearchBytes_) done_ = true;
    return;
  }
  if (packet.Pid() == kPatPid) pat_.Feed(packet);
}

void ProgramScan::OnPat(std::span<const std::uint8_t> section) {
  if (patFound_ || !IsCurrent(section)) return;
  const std::optional<PatTable> pat = ParsePat(section);
  if (!pat) return;
  patFound_ = true;
  for (const PatEntry& entry : pat->programs) {
    if (entry.programNumber == 0) continue;
    programs_.push_back(ScannedProgram{entry.programNumber, entry.pid, false, {}, {}, 0});
    if (!pmts_.contains(entry.pid)) {
      const std::uint16_t pid = entry.pid;
      pmts_.emplace(pid, std::make_unique<SectionAssembler>(
                             [this, pid](std::span<const std::uint8_t> s) { OnPmt(pid, s); }));
    }
  }
  done_ = AllPmtsFound();
}

void ProgramScan::OnPmt(std::uint16_t pid, std::span<const std::uint8_t> section) {
  if (!IsCurrent(section)) return;
  const std::optional<PmtTable> pmt = ParsePmt(section);
  if (!pmt) return;
  for (ScannedProgram& program : programs_) {
    if (program.pmtPid != pid || program.programNumber != pmt->programNumber || program.pmtFound) {
      continue;
    }
    program.pmtFound = true;
    for (const PmtStream& stream : pmt->streams) {
      if (!program.videoPid && stream.streamType == kStreamTypeMpeg2Video) {
        program.videoPid = stream.pid;
      }
      if (!program.audioPid && IsAudio(stream.streamType)) {
        program.audioPid = stream.pid;
        program.audioStreamType = stream.streamType;
      }
    }
  }
  done_ = done_ || AllPmtsFound();
}

bool ProgramScan::AllPmtsFound() const {
  return std::all_of(programs_.begin(), programs_.end(),
                     [](const ScannedProgram& p) { return p.pmtFound; });
}
