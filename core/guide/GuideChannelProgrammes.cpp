#include "core/guide/GuideChannelProgrammes.h"

#include <algorithm>

#include "core/guide/GuideGrid.h"

bool IsOnChannel(const GuideProgramme& programme, const ChannelEntry& channel) {
  return programme.major == channel.major &&
         (programme.minor == channel.minor || programme.minor == -channel.minor);
}

std::vector<std::size_t> ChannelProgrammes(const std::vector<GuideProgramme>& guide,
                                           const ChannelEntry& channel) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < guide.size(); ++i)
    if (IsOnChannel(guide[i], channel)) found.push_back(i);
  std::stable_sort(found.begin(), found.end(), [&guide](std::size_t a, std::size_t b) {
    return guide[a].startUtc < guide[b].startUtc;
  });
  return found;
}

std::optional<std::size_t> ChannelProgrammeAt(const std::vector<GuideProgramme>& guide,
                                              const ChannelEntry& channel, std::int64_t utc) {
  for (std::size_t i = 0; i < guide.size(); ++i) {
    const GuideProgramme& p = guide[i];
    if (IsOnChannel(p, channel) && p.startUtc <= utc && utc < p.EndUtc()) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> ChannelProgrammeNear(const std::vector<GuideProgramme>& guide,
                                                const ChannelEntry& channel, std::int64_t utc,
                                                std::int64_t untilUtc) {
  if (auto at = ChannelProgrammeAt(guide, channel, utc)) return at;
  for (std::size_t i : ChannelProgrammes(guide, channel))
    if (guide[i].startUtc > utc && guide[i].startUtc < untilUtc) return i;
  return std::nullopt;
}

std::optional<std::size_t> NeighbourProgramme(const std::vector<GuideProgramme>& guide,
                                              const ChannelEntry& channel, std::size_t current,
                                              int step) {
  const std::vector<std::size_t> row = ChannelProgrammes(guide, channel);
  const auto at = std::find(row.begin(), row.end(), current);
  if (at == row.end()) return std::nullopt;
  const auto position = at - row.begin() + step;
  if (position < 0 || position >= static_cast<std::ptrdiff_t>(row.size())) return std::nullopt;
  return row[static_cast<std::size_t>(position)];
}

std::optional<std::size_t> FindSameProgramme(const std::vector<GuideProgramme>& guide,
                                             const GuideProgramme& wanted) {
  const auto sameSlot = [&wanted](const GuideProgramme& p) {
    return p.major == wanted.major && p.minor == wanted.minor && p.startUtc == wanted.startUtc;
  };
  for (std::size_t i = 0; i < guide.size(); ++i)
    if (sameSlot(guide[i]) && guide[i].eventId == wanted.eventId) return i;
  for (std::size_t i = 0; i < guide.size(); ++i)
    if (sameSlot(guide[i]) && guide[i].title == wanted.title) return i;
  return std::nullopt;
}

std::int64_t GridStartShowing(const GuideProgramme& programme, std::int64_t gridStartUtc,
                              std::int64_t firstStartUtc) {
  const std::int64_t gridEnd = gridStartUtc + kGridSeconds;
  const bool shown = programme.startUtc < gridEnd &&
                     (programme.EndUtc() > gridStartUtc ||
                      (programme.lengthSeconds == 0 && programme.startUtc >= gridStartUtc));
  if (shown) return gridStartUtc;
  if (programme.EndUtc() <= firstStartUtc) return firstStartUtc;
  // Whole grid widths, rounded towards the past, so that the columns stay
  // where they were.
  std::int64_t offset = programme.startUtc - gridStartUtc;
  std::int64_t widths = offset / kGridSeconds;
  if (offset < 0 && offset % kGridSeconds != 0) --widths;
  return std::max(gridStartUtc + widths * kGridSeconds, firstStartUtc);
}
