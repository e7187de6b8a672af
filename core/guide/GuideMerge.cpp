#include "core/guide/GuideMerge.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

namespace {

constexpr std::int64_t kEventTableSeconds = 3 * 60 * 60;

// The three-hour block of an event table that an instant falls in.
std::int64_t BlockOf(std::int64_t utc) {
  return utc >= 0 ? utc / kEventTableSeconds : (utc - kEventTableSeconds + 1) / kEventTableSeconds;
}

bool IsReplacedBy(const GuideProgramme& old, const GuideProgramme& fresh) {
  if (old.major != fresh.major || old.minor != fresh.minor) return false;
  if (old.eventId == fresh.eventId && BlockOf(old.startUtc) == BlockOf(fresh.startUtc)) return true;
  return old.startUtc < fresh.EndUtc() && fresh.startUtc < old.EndUtc();
}

}  // namespace

std::vector<GuideProgramme> ProgrammesOfStation(const std::vector<GuideEvent>& events,
                                                const Tvct& channels) {
  std::vector<GuideProgramme> programmes;
  for (const GuideEvent& event : events) {
    for (const VirtualChannel& channel : channels.channels) {
      if (channel.sourceId != event.sourceId) continue;
      programmes.push_back(GuideProgramme{channel.major, channel.minor, event.eventId,
                                          event.startUtc, event.lengthSeconds, event.title,
                                          event.description});
    }
  }
  return programmes;
}

void MergeProgrammes(std::vector<GuideProgramme>& guide, const std::vector<GuideProgramme>& fresh) {
  // Taking the new programmes one after another comes to this: an old
  // programme stays when no new one replaces it, a new one when no later new
  // one does. Only programmes of the same channel are compared.
  std::map<std::pair<int, int>, std::vector<std::size_t>> freshOfChannel;
  for (std::size_t i = 0; i < fresh.size(); ++i)
    freshOfChannel[{fresh[i].major, fresh[i].minor}].push_back(i);
  const auto isReplaced = [&](const GuideProgramme& p, std::size_t from) {
    const auto channel = freshOfChannel.find({p.major, p.minor});
    if (channel == freshOfChannel.end()) return false;
    return std::any_of(channel->second.begin(), channel->second.end(), [&](std::size_t i) {
      return i >= from && IsReplacedBy(p, fresh[i]);
    });
  };
  std::erase_if(guide, [&](const GuideProgramme& old) { return isReplaced(old, 0); });
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    if (!isReplaced(fresh[i], i + 1)) guide.push_back(fresh[i]);
  }
}
