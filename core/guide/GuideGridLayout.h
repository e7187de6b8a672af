#pragma once

#include <cstdint>
#include <optional>

#include "core/guide/GuideGrid.h"

// Where the parts of the guide's grid lie in its window, in pixels: the
// column headers along the top, the channel names down the left, and below
// the headers one row per channel, scrolled so that `firstRow` is at the
// top. The time area right of the names is a GuideGrid.
struct GuideGridLayout {
  int width = 0;   // the window's client area
  int height = 0;
  int labelWidth = 0;
  int headerHeight = 0;
  int rowHeight = 1;
  int rowCount = 0;
  int firstRow = 0;

  int TimeWidth() const;
  GuideGrid Grid(std::int64_t startUtc) const { return GuideGrid(startUtc, TimeWidth()); }

  // Rows wholly in view (at least one, so a small window still scrolls row
  // by row), and the largest useful firstRow.
  int VisibleRows() const;
  int LastFirstRow() const;
  // firstRow moved as little as possible so that `row` is wholly in view.
  int FirstRowShowing(int row) const;
  // The top of a row, for the rows from firstRow on.
  int RowTop(int row) const;
};

// What lies under a point: a channel row, and the instant on the grid when
// the point is in the time area (nothing on the channel's name).
struct GridHit {
  int row = 0;
  std::optional<std::int64_t> utc;
};

// Nothing on the headers, below the last row, or outside the window.
std::optional<GridHit> HitTestGrid(const GuideGridLayout& layout, std::int64_t gridStartUtc, int x,
                                   int y);
