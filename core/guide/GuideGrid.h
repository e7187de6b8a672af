#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/guide/GuideProgramme.h"
#include "core/time/LocalZone.h"

// The arithmetic of the guide's grid, without drawing: six columns of half
// an hour, three hours in all, mapped onto `width` pixels. The grid runs on
// real time, so a programme's width is always its length; the columns are
// named by the local time at which they start. On the day summer time
// begins the names skip an hour ("1:30 AM", "3:00 AM"); on the day it ends
// the repeated hour is shown twice, in the order it is lived.

inline constexpr int kGridColumns = 6;
inline constexpr std::int64_t kGridColumnSeconds = 30 * 60;
inline constexpr std::int64_t kGridSeconds = kGridColumns * kGridColumnSeconds;

struct GridColumn {
  std::int64_t startUtc = 0;
  int x = 0;
  std::string text;  // its local start, e.g. "7:30 PM"
};

// A programme's place on the grid, clipped to it; the flags tell that it
// goes on before or after what the grid shows.
struct GridSpan {
  int left = 0;
  int right = 0;
  bool startsBefore = false;
  bool endsAfter = false;
};

class GuideGrid {
 public:
  GuideGrid(std::int64_t startUtc, int width);

  std::int64_t StartUtc() const { return startUtc; }
  std::int64_t EndUtc() const { return startUtc + kGridSeconds; }

  std::vector<GridColumn> Columns(const LocalZone& zone) const;

  // The x of an instant, clipped to 0..width.
  int XOf(std::int64_t utc) const;
  // The instant at x (x clipped to 0..width).
  std::int64_t TimeAt(int x) const;

  // The line of the present moment, or nothing when the grid does not show it.
  std::optional<int> PresentX(std::int64_t nowUtc) const;

  // Nothing when no part of the programme lies on the grid.
  std::optional<GridSpan> SpanOf(const GuideProgramme& programme) const;

 private:
  std::int64_t startUtc;
  int width;
};

// Where the grid starts when it opens: the start of the local half hour
// that `nowUtc` lies in (taken from the local clock, so it also holds in a
// zone whose offset is not whole hours, and in the repeated hour).
std::int64_t CurrentHalfHourStart(std::int64_t nowUtc, const LocalZone& zone);

// The grid three hours earlier, but never before the current half hour:
// the guide shows what can still be watched or recorded. Nothing when the
// grid already starts there.
std::optional<std::int64_t> EarlierGridStart(std::int64_t gridStartUtc, std::int64_t nowUtc,
                                             const LocalZone& zone);

// The grid three hours later, while the guide data reaches beyond the
// present grid; nothing otherwise.
std::optional<std::int64_t> LaterGridStart(std::int64_t gridStartUtc,
                                           const std::vector<GuideProgramme>& guide);

// The programme of the channel that runs at the instant, or nothing. A
// programme is on from its start up to, not including, its end.
std::optional<std::size_t> FindProgrammeAt(const std::vector<GuideProgramme>& guide, int major,
                                           int minor, std::int64_t utc);
