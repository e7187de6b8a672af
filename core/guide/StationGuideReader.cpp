#include "core/guide/StationGuideReader.h"

#include <algorithm>
#include <set>

#include "core/guide/GuideMerge.h"
#include "core/ts/EventInformationTable.h"
#include "core/ts/TsPacket.h"

namespace {

// PIDs no table list may send us to: the PSI and reserved PIDs at the
// bottom, and the null packets.
constexpr std::uint16_t kLastReservedPid = 0x000F;
constexpr std::uint16_t kNullPid = 0x1FFF;

bool IsGuidePid(std::uint16_t pid) {
  return pid > kLastReservedPid && pid != kNullPid && pid != StationGuideReader::kChannelTablePid;
}

// The EIT and ETT PIDs of the table list, EIT-k and ETT-k before
// EIT-(k+1), without repeats, at most `room` of them.
std::vector<std::uint16_t> GuidePids(const Mgt& mgt, std::size_t room) {
  std::map<std::uint16_t, std::uint16_t> byType;  // table type -> PID
  for (const MgtEntry& entry : mgt.tables) {
    const bool eit = entry.tableType >= kTableTypeEitFirst && entry.tableType <= kTableTypeEitLast;
    const bool ett =
        entry.tableType >= kTableTypeEventEttFirst && entry.tableType <= kTableTypeEventEttLast;
    if ((eit || ett) && IsGuidePid(entry.pid)) byType.emplace(entry.tableType, entry.pid);
  }
  std::vector<std::uint16_t> pids;
  std::set<std::uint16_t> seen;
  const std::uint16_t count = kTableTypeEitLast - kTableTypeEitFirst + 1;
  for (std::uint16_t k = 0; k < count && pids.size() < room; ++k) {
    for (const std::uint16_t type : {static_cast<std::uint16_t>(kTableTypeEitFirst + k),
                                     static_cast<std::uint16_t>(kTableTypeEventEttFirst + k)}) {
      const auto found = byType.find(type);
      if (found == byType.end() || pids.size() >= room) continue;
      if (seen.insert(found->second).second) pids.push_back(found->second);
    }
  }
  return pids;
}

}  // namespace

StationGuideReader::StationGuideReader() { AddAssemblers(); }

void StationGuideReader::Feed(std::uint16_t pid, std::span<const std::uint8_t> section) {
  if (pid == kChannelTablePid) {
    psip_.Feed(section);
    AfterChannelTables();
  } else {
    events_.Feed(pid, section);
  }
  if (events_.Generation() != eventGeneration_) {
    eventGeneration_ = events_.Generation();
    ++generation_;
  }
}

void StationGuideReader::FeedPackets(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    // A packet begins at a sync byte; bytes before one are passed over.
    if (partial_.empty()) {
      const auto sync = std::find(bytes.begin(), bytes.end(), kTsSyncByte);
      bytes = bytes.subspan(static_cast<std::size_t>(sync - bytes.begin()));
      if (bytes.empty()) return;
    }
    const std::size_t take = std::min(kTsPacketSize - partial_.size(), bytes.size());
    partial_.insert(partial_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
    bytes = bytes.subspan(take);
    if (partial_.size() < kTsPacketSize) return;  // the rest comes with the next run
    const TsPacket packet = TsPacket::FromBytes(partial_);
    partial_.clear();
    if (packet.TransportError()) continue;
    // The PID 0x1FFB's assembler is never removed, so the sections it hands
    // out may change the others safely.
    const auto found = assemblers_.find(packet.Pid());
    if (found != assemblers_.end()) found->second->Feed(packet);
  }
}

// A new table list changes the PIDs to read; a new channel table or GPS-UTC
// offset changes the programmes made from the same events.
void StationGuideReader::AfterChannelTables() {
  const std::optional<Mgt>& mgt = psip_.CompleteMgt();
  if (mgt && mgt != mgt_) {
    mgt_ = mgt;
    events_.SetMgt(*mgt);
    wanted_ = GuidePids(*mgt, kMaxWantedPids - 1);
    wanted_.push_back(kChannelTablePid);
    std::sort(wanted_.begin(), wanted_.end());
    std::erase_if(assemblers_, [&](const auto& item) {
      return !std::binary_search(wanted_.begin(), wanted_.end(), item.first);
    });
    AddAssemblers();
  }
  const std::optional<Tvct>& tvct = psip_.CompleteTvct();
  if (tvct && tvct != tvct_) {
    tvct_ = tvct;
    ++generation_;
  }
  const std::optional<Stt>& stt = psip_.LatestStt();
  if (stt && gpsUtcOffset_ != stt->gpsUtcOffset) {
    gpsUtcOffset_ = stt->gpsUtcOffset;
    ++generation_;
  }
}

std::vector<std::uint16_t> StationGuideReader::WantedPids() const { return wanted_; }

std::vector<GuideProgramme> StationGuideReader::Programmes() const {
  const std::optional<Stt>& stt = psip_.LatestStt();
  if (!tvct_ || !stt) return {};
  return ProgrammesOfStation(events_.Events(*stt), *tvct_);
}

void StationGuideReader::Reset() {
  psip_ = PsipCollector();
  events_ = GuideCollector();
  mgt_.reset();
  tvct_.reset();
  gpsUtcOffset_.reset();
  eventGeneration_ = 0;
  wanted_ = {kChannelTablePid};
  assemblers_.clear();
  partial_.clear();
  AddAssemblers();
  ++generation_;
}

void StationGuideReader::AddAssemblers() {
  for (const std::uint16_t pid : wanted_) {
    if (assemblers_.contains(pid)) continue;
    assemblers_.emplace(pid, std::make_unique<SectionAssembler>(
                                 [this, pid](std::span<const std::uint8_t> section) { Feed(pid, section); }));
  }
}
