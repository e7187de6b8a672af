#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/ts/MasterGuideTable.h"
#include "core/ts/SectionedTable.h"
#include "core/ts/SystemTimeTable.h"
#include "core/ts/VirtualChannelTable.h"

// Collects the tables a channel scan reads from the PID 0x1FFB: the master
// guide table, the terrestrial virtual channel table and the system time.
// Push-driven: feed every whole section the PID's SectionAssembler hands
// out. Sections that fail their CRC or do not parse are counted and
// skipped, so a later good copy is taken; other tables of the PID are
// passed over.
class PsipCollector {
 public:
  void Feed(std::span<const std::uint8_t> section);

  // Each table once all its sections of the newest version have come.
  const std::optional<Tvct>& CompleteTvct() const { return tvct_.Complete(); }
  const std::optional<Mgt>& CompleteMgt() const { return mgt_.Complete(); }
  // The last good current system time table.
  const std::optional<Stt>& LatestStt() const { return stt_; }

  // Sections with the id of one of these tables that were not whole, failed
  // their CRC or did not parse.
  int DamagedSections() const { return damaged_; }

 private:
  SectionedTable<Tvct> tvct_;
  SectionedTable<Mgt> mgt_;
  std::optional<Stt> stt_;
  int damaged_ = 0;
};
