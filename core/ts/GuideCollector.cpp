#include "core/ts/GuideCollector.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr std::uint32_t kEtmKindMask = 0x3;
constexpr std::uint32_t kEventEtmKind = 0x2;

bool IsIn(std::uint16_t type, std::uint16_t first, std::uint16_t last) {
  return type >= first && type <= last;
}

}  // namespace

void GuideCollector::SetMgt(const Mgt& mgt) {
  eitPids_.clear();
  ettPids_.clear();
  for (const MgtEntry& entry : mgt.tables) {
    if (IsIn(entry.tableType, kTableTypeEitFirst, kTableTypeEitLast)) eitPids_.insert(entry.pid);
    if (IsIn(entry.tableType, kTableTypeEventEttFirst, kTableTypeEventEttLast)) {
      ettPids_.insert(entry.pid);
    }
  }
  const auto dropped = std::erase_if(eits_, [&](const auto& item) {
    if (eitPids_.contains(item.first.second)) return false;
    if (--tablesPerSource_[item.first.first] == 0) tablesPerSource_.erase(item.first.first);
    return true;
  });
  if (dropped > 0) ++generation_;
}

void GuideCollector::Feed(std::uint16_t pid, std::span<const std::uint8_t> section) {
  if (section.empty()) return;
  if (section[0] == kEitTableId && eitPids_.contains(pid)) FeedEit(pid, section);
  if (section[0] == kEttTableId && ettPids_.contains(pid)) FeedEtt(section);
}

void GuideCollector::FeedEit(std::uint16_t pid, std::span<const std::uint8_t> section) {
  auto parsed = ParseEitSection(section);
  if (!parsed) {
    ++damaged_;
    return;
  }
  if (!parsed->header.current) return;
  EitSlot* slot = FindOrAddSlot({parsed->part.sourceId, pid});
  if (!slot) {
    ++dropped_;
    return;
  }
  if (!slot->collecting.Add(std::move(*parsed))) return;
  const Eit& table = *slot->collecting.Complete();
  // A new version that lists the same events changes nothing for a reader.
  if (slot->complete && slot->complete->events == table.events) {
    slot->complete = table;
    return;
  }
  slot->complete = table;
  ++generation_;
}

GuideCollector::EitSlot* GuideCollector::FindOrAddSlot(const EitKey& key) {
  if (const auto found = eits_.find(key); found != eits_.end()) return &found->second;
  const auto source = tablesPerSource_.find(key.first);
  if (source == tablesPerSource_.end() ? tablesPerSource_.size() >= kMaxSources
                                       : source->second >= kMaxTablesPerSource) {
    return nullptr;
  }
  ++tablesPerSource_[key.first];
  return &eits_[key];
}

void GuideCollector::FeedEtt(std::span<const std::uint8_t> section) {
  auto parsed = ParseEttSection(section);
  if (!parsed) {
    ++damaged_;
    return;
  }
  const Ett& ett = parsed->part;
  // Channel texts and those of other kinds are not the guide's.
  if (!parsed->header.current || (ett.etmId & kEtmKindMask) != kEventEtmKind) return;

  auto held = texts_.find(ett.etmId);
  if (held == texts_.end()) {
    if (texts_.size() >= kMaxTexts) DropUnmatchedTexts();
    if (texts_.size() >= kMaxTexts) {
      ++dropped_;
      return;
    }
    held = texts_.emplace(ett.etmId, MultipleString{}).first;
  } else if (held->second == ett.text) {
    return;  // a repeat
  }
  held->second = std::move(parsed->part.text);
  if (HasEvent(ett.etmId)) ++generation_;
}

bool GuideCollector::HasEvent(std::uint32_t etmId) const {
  const auto sourceId = static_cast<std::uint16_t>(etmId >> 16);
  for (auto it = eits_.lower_bound({sourceId, 0}); it != eits_.end() && it->first.first == sourceId; ++it) {
    if (!it->second.complete) continue;
    for (const EitEvent& event : it->second.complete->events) {
      if (EventEtmId(sourceId, event.eventId) == etmId) return true;
    }
  }
  return false;
}

// Texts of events no held table lists any more (those that ended, or were
// never sent) make room for new ones.
void GuideCollector::DropUnmatchedTexts() {
  std::set<std::uint32_t> wanted;
  for (const auto& [key, slot] : eits_) {
    if (!slot.complete) continue;
    for (const EitEvent& event : slot.complete->events) wanted.insert(EventEtmId(key.first, event.eventId));
  }
  std::erase_if(texts_, [&](const auto& item) { return !wanted.contains(item.first); });
}

std::vector<GuideEvent> GuideCollector::Events(const Stt& stt, std::string_view language) const {
  std::vector<GuideEvent> events;
  // An event that spans the end of one table's three hours is listed in
  // both tables.
  std::set<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>> seen;
  for (const auto& [key, slot] : eits_) {
    if (!slot.complete) continue;
    const std::uint16_t sourceId = key.first;
    for (const EitEvent& event : slot.complete->events) {
      if (!seen.insert({sourceId, event.eventId, event.startTime}).second) continue;
      GuideEvent& out = events.emplace_back();
      out.sourceId = sourceId;
      out.eventId = event.eventId;
      out.startUtc = std::int64_t{event.startTime} + kGpsEpochUnixSeconds - stt.gpsUtcOffset;
      out.lengthSeconds = event.lengthSeconds;
      out.title = TextOf(event.title, language);
      if (const auto text = texts_.find(EventEtmId(sourceId, event.eventId)); text != texts_.end()) {
        out.description = TextOf(text->second, language);
      }
    }
  }
  std::sort(events.begin(), events.end(), [](const GuideEvent& a, const GuideEvent& b) {
    return std::tie(a.sourceId, a.startUtc, a.eventId) < std::tie(b.sourceId, b.startUtc, b.eventId);
  });
  return events;
}
