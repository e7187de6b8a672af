#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/guide/GuideProgramme.h"
#include "core/ts/GuideCollector.h"
#include "core/ts/MasterGuideTable.h"
#include "core/ts/PsipCollector.h"
#include "core/ts/SectionAssembler.h"

// Reads the programme guide of the station on one RF channel: the channel
// tables of the PID 0x1FFB (master guide, virtual channels, system time) and
// the event and text tables on the PIDs the master guide table lists. The
// graph maps the PIDs it asks for (WantedPids) and feeds it either whole
// sections with their PID or transport packets, which it assembles into
// sections per PID itself. It gives the station's programmes once the
// channel table, the system time and at least one event table have come,
// and a generation that grows whenever they change. Does no I/O and takes
// no lock: its owner serialises the calls.
class StationGuideReader {
 public:
  static constexpr std::uint16_t kChannelTablePid = 0x1FFB;
  // At most this many PIDs are asked for, the PID 0x1FFB included, so that
  // a damaged or vast table list keeps the demultiplexer's mapping small
  // (the platform allows 255 for all its outputs together). EIT-k and ETT-k
  // go before EIT-(k+1): the nearest hours come first.
  static constexpr std::size_t kMaxWantedPids = 200;

  StationGuideReader();
  // Its assemblers call back into it.
  StationGuideReader(const StationGuideReader&) = delete;
  StationGuideReader& operator=(const StationGuideReader&) = delete;

  // A whole section that came on `pid`.
  void Feed(std::uint16_t pid, std::span<const std::uint8_t> section);

  // The next bytes of a run of 188-byte transport packets, cut anywhere: a
  // packet split between two calls is joined. Bytes before a sync byte
  // where a packet should start, and packets of PIDs not wanted, are passed
  // over.
  void FeedPackets(std::span<const std::uint8_t> bytes);

  // The PID 0x1FFB and the EIT and ETT PIDs of the current master guide
  // table, in ascending order.
  std::vector<std::uint16_t> WantedPids() const;

  // The station's programmes (empty until the channel table, the system
  // time and an event table have come).
  std::vector<GuideProgramme> Programmes() const;

  // The station's channel table once whole.
  const std::optional<Tvct>& CompleteTvct() const { return psip_.CompleteTvct(); }

  // Grows whenever what Programmes gives may have changed, and on Reset.
  std::uint64_t Generation() const { return generation_; }

  // Forgets every table: the next sections come from another station.
  void Reset();

 private:
  void AfterChannelTables();
  void AddAssemblers();

  PsipCollector psip_;
  GuideCollector events_;
  std::optional<Mgt> mgt_;         // the one the event collector was told
  std::optional<Tvct> tvct_;       // the one the programmes were last made with
  std::optional<std::int32_t> gpsUtcOffset_;
  std::uint64_t eventGeneration_ = 0;
  std::uint64_t generation_ = 0;
  std::vector<std::uint16_t> wanted_{kChannelTablePid};
  // One assembler per wanted PID, for packets.
  std::map<std::uint16_t, std::unique_ptr<SectionAssembler>> assemblers_;
  std::vector<std::uint8_t> partial_;  // a packet begun in the last run
};
