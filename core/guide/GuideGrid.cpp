#include "core/guide/GuideGrid.h"

#include <algorithm>

#include "core/time/TimeTexts.h"

GuideGrid::GuideGrid(std::int64_t startUtc, int width)
    : startUtc(startUtc), width(std::max(width, 0)) {}

std::vector<GridColumn> GuideGrid::Columns(const LocalZone& zone) const {
  std::vector<GridColumn> columns;
  for (int i = 0; i < kGridColumns; ++i) {
    const std::int64_t at = startUtc + i * kGridColumnSeconds;
    const CivilTime local = zone.ToLocal(at);
    columns.push_back({at, XOf(at), ClockText12(local.hour, local.minute)});
  }
  return columns;
}

int GuideGrid::XOf(std::int64_t utc) const {
  const std::int64_t offset = std::clamp<std::int64_t>(utc - startUtc, 0, kGridSeconds);
  return static_cast<int>(offset * width / kGridSeconds);
}

std::int64_t GuideGrid::TimeAt(int x) const {
  if (width == 0) return startUtc;
  return startUtc + std::clamp(x, 0, width) * kGridSeconds / width;
}

std::optional<int> GuideGrid::PresentX(std::int64_t nowUtc) const {
  if (nowUtc < startUtc || nowUtc >= EndUtc()) return std::nullopt;
  return XOf(nowUtc);
}

std::optional<GridSpan> GuideGrid::SpanOf(const GuideProgramme& programme) const {
  if (programme.EndUtc() <= startUtc || programme.startUtc >= EndUtc()) return std::nullopt;
  return GridSpan{XOf(programme.startUtc), XOf(programme.EndUtc()), programme.startUtc < startUtc,
                  programme.EndUtc() > EndUtc()};
}

std::int64_t CurrentHalfHourStart(std::int64_t nowUtc, const LocalZone& zone) {
  const CivilTime local = zone.ToLocal(nowUtc);
  return nowUtc - (local.minute % 30) * 60 - local.second;
}

std::optional<std::int64_t> EarlierGridStart(std::int64_t gridStartUtc, std::int64_t nowUtc,
                                             const LocalZone& zone) {
  const std::int64_t first = CurrentHalfHourStart(nowUtc, zone);
  if (gridStartUtc <= first) return std::nullopt;
  return std::max(gridStartUtc - kGridSeconds, first);
}

std::optional<std::int64_t> LaterGridStart(std::int64_t gridStartUtc,
                                           const std::vector<GuideProgramme>& guide) {
  const std::int64_t next = gridStartUtc + kGridSeconds;
  const bool reaches = std::any_of(guide.begin(), guide.end(),
                                   [next](const GuideProgramme& p) { return p.EndUtc() > next; });
  if (!reaches) return std::nullopt;
  return next;
}

std::optional<std::size_t> FindProgrammeAt(const std::vector<GuideProgramme>& guide, int major,
                                           int minor, std::int64_t utc) {
  for (std::size_t i = 0; i < guide.size(); ++i) {
    const GuideProgramme& p = guide[i];
    if (p.major == major && p.minor == minor && p.startUtc <= utc && utc < p.EndUtc()) return i;
  }
  return std::nullopt;
}
