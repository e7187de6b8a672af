#include "core/guide/GuideGridLayout.h"

#include <algorithm>

int GuideGridLayout::TimeWidth() const { return std::max(width - labelWidth, 0); }

int GuideGridLayout::VisibleRows() const {
  return std::max((height - headerHeight) / std::max(rowHeight, 1), 1);
}

int GuideGridLayout::LastFirstRow() const { return std::max(rowCount - VisibleRows(), 0); }

int GuideGridLayout::FirstRowShowing(int row) const {
  int first = std::clamp(firstRow, 0, LastFirstRow());
  if (row < first) first = row;
  if (row >= first + VisibleRows()) first = row - VisibleRows() + 1;
  return std::clamp(first, 0, LastFirstRow());
}

int GuideGridLayout::RowTop(int row) const {
  return headerHeight + (row - firstRow) * std::max(rowHeight, 1);
}

std::optional<GridHit> HitTestGrid(const GuideGridLayout& layout, std::int64_t gridStartUtc, int x,
                                   int y) {
  if (x < 0 || x >= layout.width || y < layout.headerHeight || y >= layout.height) return std::nullopt;
  const int row = layout.firstRow + (y - layout.headerHeight) / std::max(layout.rowHeight, 1);
  if (row < 0 || row >= layout.rowCount) return std::nullopt;
  GridHit hit{row, std::nullopt};
  if (x >= layout.labelWidth) hit.utc = layout.Grid(gridStartUtc).TimeAt(x - layout.labelWidth);
  return hit;
}
