#include "GuideTables.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "GuideSerializer.h"
#include "core/ts/SystemTimeTable.h"

namespace {

constexpr std::int64_t kSlotSeconds = 3 * 60 * 60;
constexpr int kMaxSlots = 128;
constexpr int kFewestSlotsToTheLast = 4;
constexpr std::uint8_t kEtmInThisPid = 1;

const TestGuideChannel* FindGuideChannel(const TestGuide& guide, const TestChannel& channel) {
  for (const TestGuideChannel& c : guide.channels) {
    if (c.major == channel.major && c.minor == channel.minor) return &c;
  }
  return nullptr;
}

std::string ChannelName(const TestChannel& c) {
  return std::to_string(c.major) + "-" + std::to_string(c.minor);
}

// A source id, the channel that names it first and the programmes it
// carries (those of the first of its channels that has any).
struct Source {
  std::uint16_t id = 0;
  const TestChannel* channel = nullptr;
  const TestGuideChannel* programmes = nullptr;
};

std::vector<Source> Sources(const TestGuide& guide, const std::vector<TestChannel>& channels) {
  std::vector<Source> sources;
  for (const TestChannel& channel : channels) {
    const TestGuideChannel* given = FindGuideChannel(guide, channel);
    if (given && given->programmes.empty()) given = nullptr;
    const auto same = std::find_if(sources.begin(), sources.end(),
                                   [&](const Source& s) { return s.id == channel.programNumber; });
    if (same == sources.end()) {
      sources.push_back({channel.programNumber, &channel, given});
    } else if (given) {
      if (same->programmes) {
        throw std::invalid_argument("channels " + ChannelName(*same->channel) + " and " +
                                    ChannelName(channel) + " both have programmes but share the source id " +
                                    std::to_string(channel.programNumber));
      }
      *same = {channel.programNumber, &channel, given};
    }
  }
  return sources;
}

}  // namespace

std::vector<GuideSlotTables> BuildGuideTables(const TestGuide& guide,
                                              const std::vector<TestChannel>& channels,
                                              std::uint32_t gpsStart, int eitCount) {
  if (eitCount < 0 || eitCount > kMaxSlots) throw std::invalid_argument("EIT count outside 0-128");
  const std::int64_t gpsToUtc = kGpsEpochUnixSeconds - kGpsUtcOffsetSeconds;
  const std::int64_t startUtc = std::int64_t{gpsStart} + gpsToUtc;
  const std::int64_t startMinuteUtc = startUtc - startUtc % 60;
  const std::int64_t firstSlotUtc = startUtc - startUtc % kSlotSeconds;
  const auto utcOf = [&](const TestGuideProgramme& p) {
    return startMinuteUtc + std::int64_t{p.startMinute} * 60;
  };
  const auto slotOf = [&](std::int64_t utc) { return (utc - firstSlotUtc) / kSlotSeconds; };

  const std::vector<Source> sources = Sources(guide, channels);
  std::int64_t lastSlot = 0;
  for (const Source& source : sources) {
    if (!source.programmes) continue;
    lastSlot = std::max(lastSlot, slotOf(utcOf(source.programmes->programmes.back())));
  }

  const auto slots = static_cast<std::size_t>(
      eitCount > 0 ? eitCount : std::clamp<std::int64_t>(lastSlot + 1, kFewestSlotsToTheLast, kMaxSlots));
  std::vector<GuideSlotTables> tables(slots);
  const std::vector<TestGuideProgramme> kNone;
  std::vector<std::uint16_t> ettNumbers(slots, 0);  // each ETT of a PID has its own table id extension
  for (const Source& source : sources) {
    std::vector<Eit> eits(slots);
    std::uint16_t eventId = 0;
    for (const TestGuideProgramme& programme : source.programmes ? source.programmes->programmes : kNone) {
      const std::int64_t utc = utcOf(programme);
      const auto k = static_cast<std::size_t>(slotOf(utc));
      ++eventId;
      if (k >= slots) break;  // in start order: the rest lie further out
      EitEvent event;
      event.eventId = eventId;
      event.startTime = static_cast<std::uint32_t>(utc - gpsToUtc);
      event.etmLocation = programme.description.empty() ? 0 : kEtmInThisPid;
      event.lengthSeconds = static_cast<std::uint32_t>(programme.lengthMinutes) * 60;
      event.title = MakeMultipleString(programme.title);
      eits[k].events.push_back(std::move(event));
      if (programme.description.empty()) continue;
      Ett ett;
      ett.idExtension = ettNumbers[k]++;
      ett.etmId = EventEtmId(source.id, eventId);
      ett.text = MakeMultipleString(programme.description);
      tables[k].ett.push_back(SerializeEtt(ett));
    }
    for (std::size_t k = 0; k < slots; ++k) {
      eits[k].sourceId = source.id;
      for (auto& section : SerializeEit(eits[k])) tables[k].eit.push_back(std::move(section));
    }
  }
  return tables;
}
