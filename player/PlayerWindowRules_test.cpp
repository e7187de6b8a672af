#include "player/PlayerWindowRules.h"

#include <gtest/gtest.h>

#include "core/geometry/VideoWindowGeometry.h"

TEST(PlayerWindowRulesTest, MenuSizesThatFitTheDisplay) {
  const auto wide = WindowMenuSizes(AspectMode::Ratio16x9, {1920, 1080});
  ASSERT_EQ(wide.size(), 10u);  // 1920 x 1080 is not below the display's height
  EXPECT_EQ(wide.front(), (Size{640, 360}));
  EXPECT_EQ(wide.back(), (Size{1680, 945}));

  const auto square = WindowMenuSizes(AspectMode::Ratio4x3, {1920, 1080});
  ASSERT_EQ(square.size(), 8u);  // on a display wider than 3:2 the full height fits
  EXPECT_EQ(square.back(), (Size{1440, 1080}));
  // On a 3:2 display it does not.
  EXPECT_EQ(WindowMenuSizes(AspectMode::Ratio4x3, {1620, 1080}).back(), (Size{1280, 960}));
  EXPECT_EQ(WindowMenuSizes(AspectMode::Ratio16x9, {1280, 1024}).back(), (Size{1280, 720}));
}

TEST(PlayerWindowRulesTest, AspectAndSizingKeepTheWidthOrFollowTheBottomEdge) {
  EXPECT_EQ(AspectFitted({10, 20, 1036, 616}, AspectMode::Ratio4x3), (Rect{10, 20, 1036, 791}));
  EXPECT_EQ(AspectFitted({10, 20, 1036, 791}, AspectMode::Ratio16x9), (Rect{10, 20, 1036, 599}));
  const Rect current{0, 0, 646, 366};
  EXPECT_EQ(BottomEdgeSized({0, 0, 646, 486}, current, true, AspectMode::Ratio16x9),
            (Rect{0, 0, 859, 486}));
  EXPECT_EQ(BottomEdgeSized({0, 0, 700, 366}, current, false, AspectMode::Ratio16x9), current);
  EXPECT_EQ(WindowForPicture(5, 7, {640, 360}), (Rect{5, 7, 651, 373}));
}

TEST(PlayerWindowRulesTest, PicturePlacementWithAspectOverscanAndStop) {
  const auto placed = PlacePicture(AspectMode::Ratio4x3, {1024, 768}, {1920, 1080}, false, false);
  EXPECT_EQ(placed.destination, (Rect{-240, 0, 1264, 768}));
  EXPECT_EQ(placed.source, (Rect{0, 0, 1920, 1080}));
  EXPECT_EQ(PlacePicture(AspectMode::Ratio4x3, {1365, 1024}, {1920, 1080}, false, false).destination,
            (Rect{-218, 0, 1583, 1024}));
  EXPECT_EQ(PlacePicture(AspectMode::Ratio4x3, {1000, 750}, {1280, 720}, false, false).destination,
            (Rect{-166, 0, 1166, 750}));
  const auto overscan = PlacePicture(AspectMode::Ratio16x9, {1280, 720}, {1920, 1080}, true, false);
  EXPECT_EQ(overscan.source, (Rect{32, 18, 1888, 1062}));
  EXPECT_EQ(overscan.destination, (Rect{0, 0, 1280, 720}));
  EXPECT_EQ(PlacePicture(AspectMode::Ratio16x9, {1280, 720}, {1920, 1080}, true, true).source, Rect{});
}

TEST(PlayerWindowRulesTest, FullScreenIsKnownByItsSizeWherever) {
  const Rect full{-3, -3, 1283, 1027};
  EXPECT_TRUE(HasFullScreenSize(full, full));
  // The same size elsewhere (the desktop moved it, or another display's
  // origin) is still full screen.
  EXPECT_TRUE(HasFullScreenSize({0, 0, 1286, 1030}, full));
  EXPECT_FALSE(HasFullScreenSize({-3, -3, 1283, 1026}, full));
  EXPECT_FALSE(HasFullScreenSize({40, 20, 686, 386}, full));
}

TEST(PlayerWindowRulesTest, BackFromTheSecondaryDisplayToRealPlaces) {
  const PlayConfig firstStart = DefaultPlayConfig({1920, 1080}, 600);
  // Moved there from the primary display: back where the windows were.
  const WindowPlaces before{{40, 20, 686, 386}, 300, 800};
  const WindowPlaces back = BackFromSecondary(before, firstStart);
  EXPECT_EQ(back.video, (Rect{40, 20, 686, 386}));
  EXPECT_EQ(back.panelLeft, 300);
  EXPECT_EQ(back.panelTop, 800);
  // Started there: a first start's places, never an empty window.
  const WindowPlaces started = BackFromSecondary(std::nullopt, firstStart);
  EXPECT_EQ(started.video, (Rect{445, 0, 1475, 582}));
  EXPECT_EQ(started.panelLeft, 660);
  EXPECT_EQ(started.panelTop, 810);
}
