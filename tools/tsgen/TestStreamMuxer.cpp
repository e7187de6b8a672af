#include "TestStreamMuxer.h"

#include <stdexcept>
#include <string>

#include "Ac3Frames.h"
#include "GuideTables.h"
#include "Mpeg2VideoFrames.h"
#include "PsipSerializer.h"
#include "core/ts/EventInformationTable.h"
#include "core/ts/PesAssembler.h"
#include "core/ts/PsiTables.h"

namespace {

constexpr std::uint64_t kClock27 = 27000000;
constexpr std::uint64_t kClockOffset27 = kClock27;          // the PCR starts at 1 s
constexpr std::uint64_t kPresentationDelay27 = kClock27 / 2;  // PTS 500 ms after sending
constexpr std::uint64_t kPsiInterval27 = kClock27 / 10;
constexpr std::uint64_t kPcrInterval27 = kClock27 * 3 / 100;
constexpr std::uint64_t kMaxLateness27 = kClock27 * 2 / 5;
constexpr std::uint64_t kMgtInterval27 = kClock27 * 15 / 100;
constexpr std::uint64_t kTvctInterval27 = kClock27 * 4 / 10;
constexpr std::uint64_t kSttInterval27 = kClock27;
constexpr std::uint8_t kModulation8Vsb = 0x04;
constexpr std::uint8_t kVideoStreamId = 0xE0;
constexpr std::uint8_t kPrivateStream1 = 0xBD;  // AC-3 in ATSC

constexpr std::uint16_t kEitPidFirst = 0x1D00;
constexpr std::uint16_t kEttPidFirst = 0x1E00;

// A table of the carousel with its MGT entry.
struct ListedTable {
  MgtEntry entry;
  std::uint64_t interval27 = 0;
  std::vector<std::vector<std::uint8_t>> sections;
};

// How often EIT-k or ETT-k is sent: the next hours most often.
std::uint64_t GuideInterval27(bool text, std::size_t k) {
  if (k == 0) return kClock27 / 2;
  if (k == 1) return kClock27;
  if (k <= 3 && !text) return kClock27 * 2;
  return kClock27 * 3;
}

// The guide's EIT-k and ETT-k (an ETT-k only when it holds texts). Throws
// std::invalid_argument when a program uses one of their PIDs.
std::vector<ListedTable> GuideTablesToSend(const TestStreamSettings& settings) {
  const auto slots = BuildGuideTables(*settings.guide, settings.channels, settings.gpsStartTime,
                                      settings.eitCount);
  std::vector<ListedTable> tables;
  const auto add = [&](std::uint16_t tableType, std::uint16_t pid, std::uint64_t interval27,
                       std::vector<std::vector<std::uint8_t>> sections) {
    for (const TestProgram& p : settings.programs) {
      if (pid == p.pmtPid || pid == p.VideoPid() || pid == p.AudioPid()) {
        throw std::invalid_argument("program " + std::to_string(p.programNumber) +
                                    " uses a PID of the guide tables (0x1D00-0x1D7F, 0x1E00-0x1E7F)");
      }
    }
    MgtEntry entry{tableType, pid, 0, 0, {}};
    for (const auto& section : sections) entry.byteCount += static_cast<std::uint32_t>(section.size());
    tables.push_back({std::move(entry), interval27, std::move(sections)});
  };
  for (std::size_t k = 0; k < slots.size(); ++k) {
    add(static_cast<std::uint16_t>(kTableTypeEitFirst + k), static_cast<std::uint16_t>(kEitPidFirst + k),
        GuideInterval27(false, k), slots[k].eit);
  }
  for (std::size_t k = 0; k < slots.size(); ++k) {
    if (slots[k].ett.empty()) continue;
    add(static_cast<std::uint16_t>(kTableTypeEventEttFirst + k), static_cast<std::uint16_t>(kEttPidFirst + k),
        GuideInterval27(true, k), slots[k].ett);
  }
  return tables;
}

std::uint64_t PacketTime27(std::uint64_t packetIndex, std::uint64_t muxRate) {
  const unsigned __int128 bits = static_cast<unsigned __int128>(packetIndex) * kTsPacketSize * 8;
  return static_cast<std::uint64_t>(bits * kClock27 / muxRate);
}

}  // namespace

TestStreamMuxer::TestStreamMuxer(TestStreamSettings settings) : settings_(std::move(settings)) {
  PatTable pat{settings_.transportStreamId, 0, {}};
  for (const TestProgram& program : settings_.programs) {
    pat.programs.push_back({program.programNumber, program.pmtPid});
  }
  if (settings_.damage != StreamDamage::NoPat) {
    psiSections_.push_back(SerializePat(pat));
    psiPids_.push_back(kPatPid);
  }
  for (const TestProgram& program : settings_.programs) {
    const PmtTable pmt{program.programNumber, 0, program.VideoPid(),
                       {{kStreamTypeMpeg2Video, program.VideoPid()},
                        {kStreamTypeAc3Audio, program.AudioPid()}}};
    psiSections_.push_back(SerializePmt(pmt));
    psiPids_.push_back(program.pmtPid);
    pictures_.emplace_back(program.width, program.height, program.wide);
    streams_.push_back({program.VideoPid(), kVideoStreamId, 0, {}, 0, 0, true, 0});
    streams_.push_back({program.AudioPid(), kPrivateStream1, 0, {}, 0, 0, false, 0});
  }
  psiCounters_.assign(psiSections_.size(), 0);
  AddChannelTables();
}

void TestStreamMuxer::AddChannelTables() {
  if (settings_.channels.empty()) return;
  Tvct tvct;
  tvct.transportStreamId = settings_.transportStreamId;
  for (const TestChannel& given : settings_.channels) {
    VirtualChannel channel;
    channel.shortName = given.shortName;
    channel.major = given.major;
    channel.minor = given.minor;
    channel.modulationMode = kModulation8Vsb;
    channel.channelTsid = settings_.transportStreamId;
    channel.programNumber = given.programNumber;
    channel.hidden = given.hidden;
    channel.serviceType = kServiceTypeDigitalTelevision;
    channel.sourceId = given.programNumber;
    tvct.channels.push_back(std::move(channel));
  }
  std::vector<std::vector<std::uint8_t>> tvctSections = SerializeTvct(tvct);

  MgtEntry tvctEntry{kTableTypeTvctCurrent, kPsipPid, tvct.version, 0, {}};
  for (const auto& section : tvctSections) tvctEntry.byteCount += static_cast<std::uint32_t>(section.size());
  Mgt mgt{0, 0, {tvctEntry}, {}};
  const std::vector<ListedTable> guide =
      settings_.guide ? GuideTablesToSend(settings_) : std::vector<ListedTable>{};
  for (const ListedTable& table : guide) mgt.tables.push_back(table.entry);
  const std::vector<std::vector<std::uint8_t>> mgtSections{SerializeMgt(mgt)};

  carousel_.Add(kPsipPid, kMgtInterval27, [mgtSections](std::uint64_t) { return mgtSections; });
  carousel_.Add(kPsipPid, kTvctInterval27, [tvctSections](std::uint64_t) { return tvctSections; });
  carousel_.Add(kPsipPid, kSttInterval27, [start = settings_.gpsStartTime](std::uint64_t time27) {
    Stt stt;
    stt.systemTime = start + static_cast<std::uint32_t>(time27 / kClock27);
    stt.gpsUtcOffset = kGpsUtcOffsetSeconds;
    return std::vector<std::vector<std::uint8_t>>{SerializeStt(stt)};
  });
  for (const ListedTable& table : guide) {
    carousel_.Add(table.entry.pid, table.interval27,
                  [sections = table.sections](std::uint64_t) { return sections; });
  }
}

std::uint64_t TestStreamMuxer::UnitTime27(const Elementary& stream, std::uint64_t unit) const {
  if (stream.streamId == kVideoStreamId) return unit * kClock27 * 1001 / 30000;
  return unit * Ac3Frames::kFrameDuration90k * 300;
}

bool TestStreamMuxer::Write(const ByteSink& sink) {
  const auto total = static_cast<std::uint64_t>(settings_.seconds * static_cast<double>(settings_.muxRate) /
                                                (kTsPacketSize * 8));
  bool behind = false;
  for (std::uint64_t i = 0; i < total; ++i) Emit(NextPacket(i, behind), sink, i);
  return !behind;
}

void TestStreamMuxer::Emit(const TsPacket& packet, const ByteSink& sink, std::uint64_t index) {
  ++packetsWritten_;
  if (settings_.damage == StreamDamage::TruncatedPackets && index % 500 == 499) {
    sink(packet.bytes.data(), 100);
    return;
  }
  if (settings_.damage == StreamDamage::LostSync && index % 700 == 699) {
    static constexpr std::uint8_t kStray[37] = {0x47, 0x00, 0x11, 0x47, 0x47};
    sink(kStray, sizeof kStray);
  }
  sink(packet.bytes.data(), packet.bytes.size());
}

TsPacket TestStreamMuxer::NextPacket(std::uint64_t packetIndex, bool& behind) {
  const std::uint64_t now = PacketTime27(packetIndex, settings_.muxRate);

  // Tables first: a round of PAT and PMTs every 100 ms, one section a packet.
  if (!psiSections_.empty() && now >= psiPacketsSent_ / psiSections_.size() * kPsiInterval27) {
    const std::size_t which = psiPacketsSent_ % psiSections_.size();
    ++psiPacketsSent_;
    std::vector<std::uint8_t> payload{0};  // pointer field
    payload.insert(payload.end(), psiSections_[which].begin(), psiSections_[which].end());
    payload.resize(kTsPacketSize - 4, 0xFF);
    return BuildTsPacket(psiPids_[which], psiCounters_[which]++, true, std::nullopt, payload).packet;
  }
  // Then the channel tables, when one is due or a section is partly sent.
  if (auto packet = carousel_.NextPacket(now)) return *packet;

  // A PCR that is due goes out at once on its program's video PID.
  for (std::size_t s = 0; s < streams_.size(); ++s) {
    Elementary& stream = streams_[s];
    if (!stream.carriesPcr || now < stream.nextPcrPacket) continue;
    stream.nextPcrPacket = now + kPcrInterval27;
    const Pcr27 pcr = now + kClockOffset27;
    const auto data = std::span(stream.pending).subspan(stream.sent);
    // A packet without payload repeats the counter of the packet before it.
    if (data.empty()) {
      const auto repeated = static_cast<std::uint8_t>((stream.counter - 1) & 0x0F);
      return BuildTsPacket(stream.pid, repeated, false, pcr, data).packet;
    }
    const auto built = BuildTsPacket(stream.pid, stream.counter++, stream.sent == 0, pcr, data);
    stream.sent += built.payloadTaken;
    return built.packet;
  }

  // Otherwise the oldest access unit that is ready.
  Elementary* oldest = nullptr;
  std::uint64_t oldestTime = 0;
  for (std::size_t s = 0; s < streams_.size(); ++s) {
    Elementary& stream = streams_[s];
    if (stream.sent >= stream.pending.size() && !FillNextUnit(stream, s / 2, packetIndex)) continue;
    const std::uint64_t unitTime = UnitTime27(stream, stream.nextUnit - 1);
    if (!oldest || unitTime < oldestTime) {
      oldest = &stream;
      oldestTime = unitTime;
    }
  }
  if (!oldest) return TsPacket::Null();
  if (now > oldestTime + kMaxLateness27) behind = true;
  const auto built = BuildTsPacket(oldest->pid, oldest->counter++, oldest->sent == 0, std::nullopt,
                                   std::span(oldest->pending).subspan(oldest->sent));
  oldest->sent += built.payloadTaken;
  return built.packet;
}

bool TestStreamMuxer::FillNextUnit(Elementary& stream, std::size_t programIndex,
                                   std::uint64_t packetIndex) {
  const std::uint64_t now = PacketTime27(packetIndex, settings_.muxRate);
  if (UnitTime27(stream, stream.nextUnit) > now) return false;
  const std::uint64_t pts90 =
      (UnitTime27(stream, stream.nextUnit) + kClockOffset27 + kPresentationDelay27) / 300;
  std::vector<std::uint8_t> unit;
  if (stream.streamId == kVideoStreamId) {
    unit = pictures_[programIndex].Picture(stream.nextUnit);
    stream.pending = PesHeader(stream.streamId, pts90, 0);
  } else {
    unit = Ac3Frames().Frame();
    stream.pending = PesHeader(stream.streamId, pts90, unit.size());
  }
  stream.pending.insert(stream.pending.end(), unit.begin(), unit.end());
  stream.sent = 0;
  ++stream.nextUnit;
  return true;
}
