#include "core/geometry/VideoWindowGeometry.h"

#include <gtest/gtest.h>

namespace {

std::vector<Size> Sizes(std::initializer_list<Size> sizes) { return sizes; }

const DisplayLayout kOne{{1280, 1024}, std::nullopt, {0, 0, 1280, 1024}};
// A 1920 x 1080 second display to the right, below, to the left and above.
const DisplayLayout kRight{{1280, 1024}, Size{1920, 1080}, {0, 0, 3200, 1080}};
const DisplayLayout kBelow{{1280, 1024}, Size{1280, 720}, {0, 0, 1280, 1744}};
const DisplayLayout kLeft{{1280, 1024}, Size{1920, 1080}, {-1920, 0, 1280, 1080}};
const DisplayLayout kAbove{{1280, 1024}, Size{1920, 1080}, {0, -1080, 1920, 1024}};

}  // namespace

TEST(VideoWindowGeometryTest, SizeMenusOfferWhatFitsUpToTheFirstThatDoesNot) {
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio16x9, {1280, 1024}),
            Sizes({{640, 360}, {800, 450}, {854, 480}, {1024, 576}, {1152, 648}, {1280, 720}}));
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio4x3, {1280, 1024}),
            Sizes({{640, 480}, {800, 600}, {960, 720}, {1024, 768}, {1152, 852}, {1200, 900},
                   {1280, 960}}));
  // 1920 x 1080 holds the whole 16:9 table but 1920 x 1080 itself (not below
  // the height); on this wide display a 4:3 picture may take the full height.
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio16x9, {1920, 1080}).back(), (Size{1680, 945}));
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio16x9, {1920, 1080}).size(), 10u);
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio4x3, {1920, 1080}).back(), (Size{1440, 1080}));
  // A narrower display of the same height: 1440 x 1080 no longer fits.
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio4x3, {1600, 1080}).back(), (Size{1280, 960}));
  EXPECT_TRUE(WindowSizeChoices(AspectMode::Ratio16x9, {600, 400}).empty());
}

TEST(VideoWindowGeometryTest, DisplaysTallerThan2000PixelsGetTheWholeTableAndNoMore) {
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio16x9, {3840, 2160}),
            Sizes({{640, 360}, {800, 450}, {854, 480}, {1024, 576}, {1152, 648}, {1280, 720},
                   {1366, 768}, {1440, 810}, {1600, 900}, {1680, 945}, {1920, 1080}}));
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio4x3, {4096, 2400}).back(), (Size{1600, 1200}));
  EXPECT_EQ(WindowSizeChoices(AspectMode::Ratio4x3, {4096, 2400}).size(), 9u);
}

TEST(VideoWindowGeometryTest, FullScreenCoversTheTargetDisplayWithTheFrameBeyondIt) {
  EXPECT_EQ(FullScreenRect(kOne, true), (Rect{-3, -3, 1283, 1027}));
  EXPECT_EQ(FullScreenRect(kOne, false), (Rect{-3, -3, 1283, 1027}));  // no second display
  EXPECT_EQ(FullScreenRect(kRight, true), (Rect{-3, -3, 1283, 1027}));
  EXPECT_EQ(FullScreenRect(kRight, false), (Rect{1277, -3, 1277 + 1926, 1083}));
  EXPECT_EQ(FullScreenRect(kBelow, false), (Rect{-3, 1021, 1283, 1021 + 726}));
  EXPECT_EQ(FullScreenRect(kLeft, false), (Rect{-1923, -3, 3, 1083}));
  EXPECT_EQ(FullScreenRect(kAbove, false), (Rect{-3, -1083, 1923, 3}));
  EXPECT_EQ(TargetDisplaySize(kRight, false), (Size{1920, 1080}));
}

TEST(VideoWindowGeometryTest, LeavingFullScreenAndAspectKeepTheWidthAndCorner) {
  // The rectangle saved on entry; the height follows the width.
  EXPECT_EQ(LeaveFullScreenRect({100, 50, 746, 600}, AspectMode::Ratio16x9),
            (Rect{100, 50, 746, 50 + 366}));
  EXPECT_EQ(LeaveFullScreenRect({100, 50, 746, 600}, AspectMode::Ratio4x3),
            (Rect{100, 50, 746, 50 + 486}));
  // A picture width of 853 in 16:9: 479.8125 lines, truncated.
  EXPECT_EQ(WindowForPicture(0, 0, 853, AspectMode::Ratio16x9), (Rect{0, 0, 859, 485}));
  EXPECT_EQ(WindowForPicture(10, 20, Size{640, 360}), (Rect{10, 20, 656, 386}));
}

TEST(VideoWindowGeometryTest, ResizeLockMovesOnlyTheBottomEdgeAndTheWidthFollows) {
  const Rect old{100, 100, 746, 466};  // 640 x 360 picture
  EXPECT_EQ(LockedResizeRect(old, {100, 100, 746, 586}, SizingEdge::Bottom,
                             AspectMode::Ratio16x9),
            (Rect{100, 100, 959, 586}));  // 480 x 16/9 + 6 = 859 wide
  EXPECT_EQ(LockedResizeRect(old, {100, 100, 746, 586}, SizingEdge::Bottom, AspectMode::Ratio4x3),
            (Rect{100, 100, 746, 586}));  // 480 x 4/3 + 6 = 646
  for (SizingEdge edge : {SizingEdge::Right, SizingEdge::Left, SizingEdge::Top,
                          SizingEdge::BottomRight, SizingEdge::TopLeft}) {
    EXPECT_EQ(LockedResizeRect(old, {90, 90, 900, 600}, edge, AspectMode::Ratio16x9), old);
  }
}

TEST(VideoWindowGeometryTest, SnappingMeetsTheWorkAreaWithinTenPixels) {
  const Rect work{0, 0, 1280, 984};  // a 40-pixel taskbar at the bottom
  // The panel meets the edge with its border.
  EXPECT_EQ(SnapToWorkArea({7, 10, 307, 110}, work, 0), (Rect{0, 0, 300, 100}));
  EXPECT_EQ(SnapToWorkArea({975, 880, 1275, 980}, work, 0), (Rect{980, 884, 1280, 984}));
  // Eleven pixels inside, or already beyond the edge: left alone.
  EXPECT_EQ(SnapToWorkArea({11, 500, 311, 600}, work, 0), (Rect{11, 500, 311, 600}));
  EXPECT_EQ(SnapToWorkArea({-5, 500, 295, 600}, work, 0), (Rect{-5, 500, 295, 600}));
  // The video window's picture meets the edge; its frame lies beyond it.
  EXPECT_EQ(SnapToWorkArea({5, 4, 651, 370}, work, 3), (Rect{-3, -3, 643, 363}));
  EXPECT_EQ(SnapToWorkArea({630, 615, 1276, 981}, work, 3), (Rect{637, 621, 1283, 987}));
  // Left is tried before right when a window could meet both.
  EXPECT_EQ(SnapToWorkArea({5, 300, 1275, 400}, work, 0).left, 0);
}

TEST(VideoWindowGeometryTest, DisplaySwitchPlacesBothWindowsPerLayout) {
  const Rect window{200, 100, 846, 466};
  DisplaySwitchPlaces p = SwitchDisplay(kRight, true, window, false);
  EXPECT_EQ(p.video, (Rect{-3, -3, 643, 363}));
  EXPECT_EQ(p.panelLeft, 50);
  EXPECT_EQ(p.panelTop, 824);
  EXPECT_FALSE(p.restore);
  p = SwitchDisplay(kRight, true, {1277, -3, 3203, 1083}, true);
  EXPECT_EQ(p.video, (Rect{-3, -3, 1283, 1027}));
  EXPECT_EQ(p.restore, (Rect{-3, -3, 1027, 529}));

  p = SwitchDisplay(kRight, false, window, false);
  EXPECT_EQ(p.video, (Rect{1277, -3, 1923, 363}));
  EXPECT_EQ(std::make_pair(p.panelLeft, p.panelTop), std::make_pair(1330, 880));
  p = SwitchDisplay(kBelow, false, window, false);
  EXPECT_EQ(std::make_pair(p.video.left, p.video.top), std::make_pair(-3, 1021));
  EXPECT_EQ(std::make_pair(p.panelLeft, p.panelTop), std::make_pair(50, 1544));
  p = SwitchDisplay(kLeft, false, window, false);
  EXPECT_EQ(std::make_pair(p.video.left, p.video.top), std::make_pair(-1923, -3));
  EXPECT_EQ(std::make_pair(p.panelLeft, p.panelTop), std::make_pair(-1870, 880));
  p = SwitchDisplay(kAbove, false, window, false);
  EXPECT_EQ(std::make_pair(p.video.left, p.video.top), std::make_pair(-3, -1083));
  EXPECT_EQ(std::make_pair(p.panelLeft, p.panelTop), std::make_pair(50, -200));

  // In full screen the window takes the second display's size, and the
  // restore rectangle is that less 320 by 180.
  p = SwitchDisplay(kRight, false, window, true);
  EXPECT_EQ(p.video, (Rect{1277, -3, 3203, 1083}));
  EXPECT_EQ(p.restore, (Rect{1277, -3, 2883, 903}));
}

TEST(VideoWindowGeometryTest, TheWorkAreaLeavesOutTheTaskbarOnItsEdge) {
  const Rect screen{0, 0, 1280, 1024};
  EXPECT_EQ(WorkArea(screen, std::nullopt), screen);
  EXPECT_EQ(WorkArea(screen, Taskbar{{0, 984, 1280, 1024}, ScreenEdge::Bottom}),
            (Rect{0, 0, 1280, 984}));
  EXPECT_EQ(WorkArea(screen, Taskbar{{0, 0, 60, 1024}, ScreenEdge::Left}),
            (Rect{60, 0, 1280, 1024}));
  EXPECT_EQ(WorkArea(screen, Taskbar{{0, 0, 1280, 30}, ScreenEdge::Top}), (Rect{0, 30, 1280, 1024}));
  EXPECT_EQ(WorkArea(screen, Taskbar{{1220, 0, 1280, 1024}, ScreenEdge::Right}),
            (Rect{0, 0, 1220, 1024}));
}
