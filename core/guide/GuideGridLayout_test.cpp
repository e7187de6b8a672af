#include "core/guide/GuideGridLayout.h"

#include <gtest/gtest.h>

TEST(GuideGridLayoutTest, PointsFindTheirRowAndInstant) {
  // 100 pixels of names, then 540 of grid (3 a minute); 20-pixel headers and
  // 30-pixel rows; scrolled down two rows.
  GuideGridLayout layout{640, 200, 100, 20, 30, 12, 2};
  const std::int64_t start = 1'000'000'000;
  EXPECT_EQ(layout.VisibleRows(), 6);
  EXPECT_EQ(layout.LastFirstRow(), 6);

  const auto onName = HitTestGrid(layout, start, 10, 25);
  ASSERT_TRUE(onName);
  EXPECT_EQ(onName->row, 2);
  EXPECT_EQ(onName->utc, std::nullopt);
  const auto onGrid = HitTestGrid(layout, start, 100 + 90, 20 + 3 * 30 + 1);
  ASSERT_TRUE(onGrid);
  EXPECT_EQ(onGrid->row, 5);
  EXPECT_EQ(onGrid->utc, start + 30 * 60);
  EXPECT_EQ(HitTestGrid(layout, start, 200, 19), std::nullopt);  // the headers
  EXPECT_EQ(HitTestGrid(layout, start, 640, 50), std::nullopt);
  // Below the last row: the view shows rows 2 to 11 only partly filled.
  layout.rowCount = 4;
  EXPECT_EQ(HitTestGrid(layout, start, 200, 20 + 2 * 30), std::nullopt);
  EXPECT_EQ(layout.RowTop(3), 50);
}

TEST(GuideGridLayoutTest, ScrollingShowsTheSelectedRowAndStaysInRange) {
  GuideGridLayout layout{640, 200, 100, 20, 30, 12, 0};
  EXPECT_EQ(layout.FirstRowShowing(3), 0);
  EXPECT_EQ(layout.FirstRowShowing(6), 1);
  EXPECT_EQ(layout.FirstRowShowing(11), 6);
  layout.firstRow = 6;
  EXPECT_EQ(layout.FirstRowShowing(2), 2);
  // A scroll position left over from a longer channel list comes back in range.
  layout.rowCount = 3;
  layout.firstRow = 9;
  EXPECT_EQ(layout.FirstRowShowing(1), 0);
  // A window too small for one row still shows one.
  const GuideGridLayout tiny{640, 25, 100, 20, 30, 5, 0};
  EXPECT_EQ(tiny.VisibleRows(), 1);
  EXPECT_EQ(tiny.FirstRowShowing(4), 4);
}
