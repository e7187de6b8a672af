#include "standin/demux/TsDemuxCore.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kVideoStreamIdFirst = 0xE0;
constexpr std::uint8_t kVideoStreamIdLast = 0xEF;

// A video PES from which decoding can start: it opens with a sequence header,
// a group of pictures or a picture.
bool StartsPicture(std::span<const std::uint8_t> data) {
  if (data.size() < 4 || data[0] != 0 || data[1] != 0 || data[2] != 1) return false;
  return data[3] == 0xB3 || data[3] == 0xB8 || data[3] == 0x00;
}

}  // namespace

TsDemuxCore::Target& TsDemuxCore::AddTarget(int output, std::uint16_t pid, PidContent content,
                                            bool automatic) {
  auto& targets = routes_[pid];
  auto found = std::find_if(targets.begin(), targets.end(),
                            [&](const Target& t) { return t.output == output; });
  if (found == targets.end()) {
    targets.emplace_back();
    found = std::prev(targets.end());
  } else if (found->pes) {
    damagedPesGone_ += static_cast<std::uint64_t>(found->pes->DamagedPackets());
  }
  Target& target = *found;
  target.output = output;
  target.content = content;
  target.automatic = automatic;
  target.pes.reset();
  target.sections.reset();
  if (content == PidContent::ElementaryStream) {
    target.pes = std::make_unique<PesAssembler>([this, output](const PesPayload& pes) { OnPes(output, pes); });
  } else if (content == PidContent::Sections) {
    target.sections = std::make_unique<SectionAssembler>(
        [this, output](std::span<const std::uint8_t> section) { OnSection(output, section); });
  }
  return target;
}

void TsDemuxCore::RemoveTargets(
    const std::function<bool(std::uint16_t pid, const Target&)>& which) {
  for (auto route = routes_.begin(); route != routes_.end();) {
    auto& targets = route->second;
    for (auto t = targets.begin(); t != targets.end();) {
      if (which(route->first, *t)) {
        if (t->pes) damagedPesGone_ += static_cast<std::uint64_t>(t->pes->DamagedPackets());
        t = targets.erase(t);
      } else {
        ++t;
      }
    }
    route = targets.empty() ? routes_.erase(route) : std::next(route);
  }
}

bool TsDemuxCore::MapPid(int output, std::uint16_t pid, PidContent content) {
  if (pid > kMaxPid) return false;
  AddTarget(output, pid, content, false);
  discontinuityDue_.insert(output);  // what follows does not continue what came before
  return true;
}

bool TsDemuxCore::UnmapPid(int output, std::uint16_t pid) {
  bool found = false;
  RemoveTargets([&](std::uint16_t p, const Target& t) {
    const bool match = p == pid && t.output == output;
    found = found || match;
    return match;
  });
  if (found) {
    // An unmapped followed PID is not mapped again until the tables change it.
    if (output == followOutputs_.video && pid == followed_.video) followed_.video = 0;
    if (output == followOutputs_.audio && pid == followed_.audio) followed_.audio = 0;
  }
  return found;
}

std::vector<PidMapping> TsDemuxCore::Mapping(int output) const {
  std::vector<PidMapping> mapping;
  for (const auto& [pid, targets] : routes_) {
    for (const Target& t : targets) {
      if (t.output == output) mapping.push_back({pid, t.content});
    }
  }
  return mapping;
}

void TsDemuxCore::RemoveOutput(int output) {
  RemoveTargets([&](std::uint16_t, const Target& t) { return t.output == output; });
  packetBatches_.erase(output);
  discontinuityDue_.erase(output);
}

void TsDemuxCore::FollowProgram(std::uint16_t programNumber, FollowOutputs outputs) {
  RemoveTargets([](std::uint16_t, const Target& t) { return t.automatic; });
  followedProgram_ = programNumber;
  followOutputs_ = outputs;
  followed_ = FollowedPids{};
  clockPid_.reset();
  patAssembler_.Reset();
  pmtAssembler_.Reset();
  if (outputs.video >= 0) discontinuityDue_.insert(outputs.video);
  if (outputs.audio >= 0) discontinuityDue_.insert(outputs.audio);
}

void TsDemuxCore::Feed(std::span<const std::uint8_t> bytes, std::optional<std::int64_t> now,
                       const SampleHandler& handler) {
  handler_ = &handler;
  now_ = now;
  aligner_.Feed(bytes, [this](const TsPacket& packet) { OnPacket(packet); });
  FlushPacketBatches();
  handler_ = nullptr;
}

void TsDemuxCore::EndOfStream(const SampleHandler& handler) {
  handler_ = &handler;
  for (auto& [pid, targets] : routes_) {
    for (Target& t : targets) {
      if (t.pes) t.pes->Flush();
    }
  }
  FlushPacketBatches();
  handler_ = nullptr;
}

void TsDemuxCore::Reset() {
  aligner_.Reset();
  clock_.Reset();
  patAssembler_.Reset();
  pmtAssembler_.Reset();
  packetBatches_.clear();
  for (auto& [pid, targets] : routes_) {
    for (Target& t : targets) {
      if (t.pes) t.pes->Reset();
      if (t.sections) t.sections->Reset();
      discontinuityDue_.insert(t.output);
    }
  }
}

TsDemuxCore::Status TsDemuxCore::Counts() const {
  Status status;
  status.alignment = aligner_.Counts();
  status.transportErrors = transportErrors_;
  status.damagedPes = damagedPesGone_;
  for (const auto& [pid, targets] : routes_) {
    for (const Target& t : targets) {
      if (t.pes) status.damagedPes += static_cast<std::uint64_t>(t.pes->DamagedPackets());
    }
  }
  status.badTables = badTables_;
  status.clockJumps = clock_.Jumps();
  return status;
}

void TsDemuxCore::OnPacket(const TsPacket& packet) {
  if (packet.TransportError()) {
    ++transportErrors_;
    return;
  }
  const std::uint16_t pid = packet.Pid();
  if (const auto pcr = packet.Pcr()) {
    // Without a followed program the first PID that carries a clock is the clock.
    if (!clockPid_ && followedProgram_ == 0) clockPid_ = pid;
    if (clockPid_ == pid) {
      const int jumpsBefore = clock_.Jumps();
      clock_.OnPcr(*pcr, now_);
      if (clock_.Jumps() != jumpsBefore) {
        for (const auto& [p, targets] : routes_) {
          for (const Target& t : targets) discontinuityDue_.insert(t.output);
        }
      }
    }
  }
  if (followedProgram_ != 0) {
    if (pid == kPatPid) patAssembler_.Feed(packet);
    if (followed_.pmt != 0 && pid == followed_.pmt) pmtAssembler_.Feed(packet);
  }
  const auto route = routes_.find(pid);
  if (route == routes_.end()) return;
  for (Target& t : route->second) {
    switch (t.content) {
      case PidContent::ElementaryStream:
        t.pes->Feed(packet);
        break;
      case PidContent::Sections:
        t.sections->Feed(packet);
        break;
      case PidContent::TransportPacket: {
        auto& batch = packetBatches_[t.output];
        batch.insert(batch.end(), packet.bytes.begin(), packet.bytes.end());
        break;
      }
    }
  }
}

void TsDemuxCore::OnPes(int output, const PesPayload& pes) {
  DemuxSample sample;
  sample.output = output;
  sample.data.assign(pes.data.begin(), pes.data.end());
  sample.pts = pes.pts;
  if (pes.pts) sample.time = clock_.Map(*pes.pts, now_.has_value());
  sample.discontinuity = pes.discontinuity;
  const bool video = pes.streamId >= kVideoStreamIdFirst && pes.streamId <= kVideoStreamIdLast;
  sample.syncPoint = !video || StartsPicture(pes.data);
  Emit(std::move(sample));
}

void TsDemuxCore::OnSection(int output, std::span<const std::uint8_t> section) {
  DemuxSample sample;
  sample.output = output;
  sample.data.assign(section.begin(), section.end());
  sample.syncPoint = true;
  Emit(std::move(sample));
}

void TsDemuxCore::OnPat(std::span<const std::uint8_t> section) {
  const auto pat = ParsePat(section);
  if (!pat) {
    ++badTables_;
    return;
  }
  if (followOutputs_.tables >= 0) OnSection(followOutputs_.tables, section);
  std::uint16_t pmtPid = 0;
  for (const PatEntry& entry : pat->programs) {
    if (entry.programNumber == followedProgram_) pmtPid = entry.pid;
  }
  if (pmtPid != followed_.pmt) {
    // The program moved or left the stream: its old PIDs no longer apply.
    followed_.pmt = pmtPid;
    pmtAssembler_.Reset();
    MapFollowed(followed_.video, 0, followOutputs_.video);
    MapFollowed(followed_.audio, 0, followOutputs_.audio);
  }
}

void TsDemuxCore::OnPmt(std::span<const std::uint8_t> section) {
  const auto pmt = ParsePmt(section);
  if (!pmt) {
    ++badTables_;
    return;
  }
  if (pmt->programNumber != followedProgram_) return;
  if (followOutputs_.tables >= 0) OnSection(followOutputs_.tables, section);
  MapFollowed(followed_.video, pmt->FindStream(kStreamTypeMpeg2Video).value_or(0),
              followOutputs_.video);
  MapFollowed(followed_.audio, pmt->FindStream(kStreamTypeAc3Audio).value_or(0),
              followOutputs_.audio);
  if (pmt->pcrPid != followed_.pcr) {
    followed_.pcr = pmt->pcrPid;
    clockPid_ = pmt->pcrPid;
  }
}

void TsDemuxCore::MapFollowed(std::uint16_t& current, std::uint16_t wanted, int output) {
  if (output < 0 || current == wanted) return;
  if (current != 0) {
    RemoveTargets([&](std::uint16_t pid, const Target& t) {
      return pid == current && t.output == output && t.automatic;
    });
  }
  current = wanted;
  if (wanted != 0) {
    AddTarget(output, wanted, PidContent::ElementaryStream, true);
    discontinuityDue_.insert(output);
  }
}

void TsDemuxCore::Emit(DemuxSample&& sample) {
  if (discontinuityDue_.erase(sample.output) != 0) sample.discontinuity = true;
  if (handler_ != nullptr) (*handler_)(std::move(sample));
}

void TsDemuxCore::FlushPacketBatches() {
  for (auto& [output, bytes] : packetBatches_) {
    if (bytes.empty()) continue;
    DemuxSample sample;
    sample.output = output;
    sample.data = std::move(bytes);
    sample.syncPoint = true;
    Emit(std::move(sample));
  }
  packetBatches_.clear();
}
