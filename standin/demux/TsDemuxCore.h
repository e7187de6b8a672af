#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "standin/demux/PacketAligner.h"
#include "core/ts/PesAssembler.h"
#include "core/ts/PsiTables.h"
#include "core/ts/SectionAssembler.h"
#include "standin/demux/TimestampMapper.h"

// What an output receives from a mapped PID.
enum class PidContent {
  ElementaryStream,  // the PES payloads, one sample each, with their PTS
  TransportPacket,   // the whole 188-byte packets
  Sections,          // whole PSI sections, one sample each
};

struct PidMapping {
  std::uint16_t pid = 0;
  PidContent content = PidContent::ElementaryStream;

  friend bool operator==(const PidMapping&, const PidMapping&) = default;
};

// One sample for one output.
struct DemuxSample {
  int output = 0;
  std::vector<std::uint8_t> data;
  std::optional<std::uint64_t> pts;   // 90 kHz, as in the stream
  std::optional<std::int64_t> time;   // stream time to present at (100 ns)
  bool discontinuity = false;         // data was lost or the clock jumped before it
  bool syncPoint = false;             // decoding may start here
};

// The outputs that follow a program: its video and audio elementary streams,
// and its tables (PAT and PMT sections). -1 leaves one out.
struct FollowOutputs {
  int video = -1;
  int audio = -1;
  int tables = -1;
};

// What the followed program currently uses; 0 for what is not known yet.
struct FollowedPids {
  std::uint16_t pmt = 0;
  std::uint16_t video = 0;
  std::uint16_t audio = 0;
  std::uint16_t pcr = 0;

  friend bool operator==(const FollowedPids&, const FollowedPids&) = default;
};

// The demultiplexer's work, without the platform: fed with transport-stream
// bytes in chunks of any size, it hands each output the data of the PIDs
// mapped to it. Outputs are numbered by the caller. It can also follow one
// program through the PAT and its PMT and keep that program's video and audio
// PIDs mapped to two outputs. Damage is counted, never fatal.
class TsDemuxCore {
 public:
  using SampleHandler = std::function<void(DemuxSample&&)>;

  struct Status {
    PacketAligner::Status alignment;
    std::uint64_t transportErrors = 0;  // packets flagged as damaged by the sender
    std::uint64_t damagedPes = 0;       // PES packets whose header did not parse
    std::uint64_t badTables = 0;        // PAT or PMT sections that did not parse
    int clockJumps = 0;
  };

  static constexpr std::uint16_t kMaxPid = 0x1FFF;
  static constexpr std::uint32_t kMaxProgram = 0xFFFF;

  // False when the PID is out of range. Mapping a PID twice to one output
  // changes its content type.
  bool MapPid(int output, std::uint16_t pid, PidContent content);
  // False when the PID was not mapped to the output.
  bool UnmapPid(int output, std::uint16_t pid);
  // The PIDs mapped to the output by MapPid or by following, in PID order.
  std::vector<PidMapping> Mapping(int output) const;
  void RemoveOutput(int output);

  // Follows `programNumber` (0: none): its PIDs replace the ones mapped
  // automatically before, as soon as the tables name them.
  void FollowProgram(std::uint16_t programNumber, FollowOutputs outputs);
  const FollowedPids& Followed() const { return followed_; }

  // `now`: the current stream time for a live source (100 ns), nothing for a
  // file read faster than real time (see TimestampMapper).
  void Feed(std::span<const std::uint8_t> bytes, std::optional<std::int64_t> now,
            const SampleHandler& handler);
  // Hands on the PES packets still being collected.
  void EndOfStream(const SampleHandler& handler);
  // Forgets partial packets and the clock anchor (a flush, a seek, a stop);
  // the next sample of each output is marked as a discontinuity.
  void Reset();
  // Forgets only the clock anchor: a live graph starts running, and the next
  // PCR is tied to the clock as it runs.
  void ResetClock() { clock_.Reset(); }

  Status Counts() const;

 private:
  struct Target {
    int output = 0;
    PidContent content = PidContent::ElementaryStream;
    bool automatic = false;  // mapped by following, not by MapPid
    std::unique_ptr<PesAssembler> pes;
    std::unique_ptr<SectionAssembler> sections;
  };

  Target& AddTarget(int output, std::uint16_t pid, PidContent content, bool automatic);
  void RemoveTargets(const std::function<bool(std::uint16_t pid, const Target&)>& which);
  void OnPacket(const TsPacket& packet);
  void OnPes(int output, const PesPayload& pes);
  void OnSection(int output, std::span<const std::uint8_t> section);
  void OnPat(std::span<const std::uint8_t> section);
  void OnPmt(std::span<const std::uint8_t> section);
  void MapFollowed(std::uint16_t& current, std::uint16_t wanted, int output);
  void Emit(DemuxSample&& sample);
  void FlushPacketBatches();

  PacketAligner aligner_;
  TimestampMapper clock_;
  std::map<std::uint16_t, std::vector<Target>> routes_;
  std::map<int, std::vector<std::uint8_t>> packetBatches_;  // TransportPacket outputs, per Feed
  std::set<int> discontinuityDue_;

  std::uint16_t followedProgram_ = 0;
  FollowOutputs followOutputs_;
  FollowedPids followed_;
  SectionAssembler patAssembler_{[this](auto section) { OnPat(section); }};
  SectionAssembler pmtAssembler_{[this](auto section) { OnPmt(section); }};
  std::optional<std::uint16_t> clockPid_;

  // Set during Feed and EndOfStream only.
  const SampleHandler* handler_ = nullptr;
  std::optional<std::int64_t> now_;

  std::uint64_t transportErrors_ = 0;
  std::uint64_t damagedPesGone_ = 0;  // from assemblers already removed
  std::uint64_t badTables_ = 0;
};
