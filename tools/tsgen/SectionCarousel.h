#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "core/ts/TsPacket.h"

// Sends tables again and again, each on its PID at its own interval, as a
// station's table carousel does. A table is asked for its sections each
// time it is due (so a clock table can carry the time of sending); each
// section starts a packet of its own and runs on through as many packets as
// it needs, the last one stuffed with 0xFF. Every PID keeps its continuity
// counter. Tables on other PIDs (event and text tables) are added the same
// way.
class SectionCarousel {
 public:
  // The whole sections of a table, sent at stream time `time27` (27 MHz).
  using TableSource = std::function<std::vector<std::vector<std::uint8_t>>(std::uint64_t time27)>;

  // Sends the table at stream time 0 and then every `interval27`.
  void Add(std::uint16_t pid, std::uint64_t interval27, TableSource source);

  bool IsEmpty() const { return tables_.empty(); }

  // The next packet of a section being sent, else the first packet of the
  // table most overdue at `time27`; nothing when no table is due.
  std::optional<TsPacket> NextPacket(std::uint64_t time27);

 private:
  struct Table {
    std::uint16_t pid = 0;
    std::uint64_t interval27 = 0;
    TableSource source;
    std::uint64_t due27 = 0;
  };
  struct QueuedSection {
    std::uint16_t pid = 0;
    std::vector<std::uint8_t> bytes;
    std::size_t sent = 0;
  };

  void QueueDueTable(std::uint64_t time27);

  std::vector<Table> tables_;
  std::deque<QueuedSection> queue_;
  std::map<std::uint16_t, std::uint8_t> counters_;  // per PID
};
