#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ts/EventInformationTable.h"
#include "core/ts/ExtendedTextTable.h"
#include "core/ts/GuideEvent.h"
#include "core/ts/MasterGuideTable.h"
#include "core/ts/SectionedTable.h"
#include "core/ts/SystemTimeTable.h"

// Collects the programme guide of one transport stream: the event
// information tables EIT-0 to EIT-127 and the event texts of ETT-0 to
// ETT-127, each on the PID the master guide table gives it. Push-driven:
// told the current MGT, then fed every whole section of those PIDs. Each
// EIT is kept per PID and channel (source id), so a new version replaces
// the old one once it is complete; until then the old one is still given
// out. Texts are kept by ETM id. Sections that do not parse are counted and
// skipped; sections on PIDs the MGT does not list for their table are
// passed over. Memory is bounded: past the caps below, sections of further
// channels, tables or texts are counted as dropped.
class GuideCollector {
 public:
  static constexpr std::size_t kMaxSources = 64;
  static constexpr std::size_t kMaxTablesPerSource = 128;
  static constexpr std::size_t kMaxTexts = 8192;

  // The MGT in force. Until one is set every section is passed over; tables
  // held from a PID it no longer lists for an EIT are dropped.
  void SetMgt(const Mgt& mgt);

  // A whole section that came on `pid`.
  void Feed(std::uint16_t pid, std::span<const std::uint8_t> section);

  // Every event of every complete EIT, once each, ordered by source id and
  // start, with its start made UTC by the STT's GPS-UTC offset, its title
  // and its description (from the event's ETT, empty when none came) in
  // `language` when sent. The caller passes the station's latest STT; with
  // none yet there is no UTC to give, so it asks again once one has come
  // (the tables are held meanwhile).
  std::vector<GuideEvent> Events(const Stt& stt, std::string_view language = "eng") const;

  // Grows whenever what Events gives has changed (a table completed with
  // other events, a held event's text came or changed, tables were dropped);
  // repeated sections leave it alone, so a caller compares it with the value
  // it last saw before rewriting anything.
  std::uint64_t Generation() const { return generation_; }

  // Sections with an EIT's or ETT's table id, on a PID listed for them, that
  // were not whole, failed their CRC or did not parse.
  int DamagedSections() const { return damaged_; }
  // Good sections refused because a cap was reached.
  int DroppedSections() const { return dropped_; }

 private:
  struct EitSlot {
    SectionedTable<Eit> collecting;
    std::optional<Eit> complete;  // the last complete version
  };
  using EitKey = std::pair<std::uint16_t, std::uint16_t>;  // source id, PID

  void FeedEit(std::uint16_t pid, std::span<const std::uint8_t> section);
  void FeedEtt(std::span<const std::uint8_t> section);
  EitSlot* FindOrAddSlot(const EitKey& key);
  bool HasEvent(std::uint32_t etmId) const;
  void DropUnmatchedTexts();

  std::set<std::uint16_t> eitPids_;
  std::set<std::uint16_t> ettPids_;
  std::map<EitKey, EitSlot> eits_;
  std::map<std::uint16_t, std::size_t> tablesPerSource_;
  std::map<std::uint32_t, MultipleString> texts_;  // by ETM id
  std::uint64_t generation_ = 0;
  int damaged_ = 0;
  int dropped_ = 0;
};
