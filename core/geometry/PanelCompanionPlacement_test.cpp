#include "core/geometry/PanelCompanionPlacement.h"

#include <gtest/gtest.h>

namespace {

// A 1280 x 1024 screen less a 40-pixel taskbar at the bottom.
const Rect kWork{0, 0, 1280, 984};
const Size kWindow{400, 300};

}  // namespace

TEST(PanelCompanionPlacement, BelowThePanelWhenItFitsElseAbove) {
  // The panel high on the screen: the window hangs below it.
  EXPECT_EQ(PlaceBesidePanel({50, 100, 450, 300}, kWindow, kWork), (Rect{50, 300, 450, 600}));
  // Exactly reaching the taskbar still fits below.
  EXPECT_EQ(PlaceBesidePanel({50, 384, 450, 684}, kWindow, kWork), (Rect{50, 684, 450, 984}));
  // The panel's usual place, 200 pixels above the bottom of the screen: below
  // would run off the screen, so the window sits on top of the panel.
  EXPECT_EQ(PlaceBesidePanel({50, 824, 450, 1000}, kWindow, kWork), (Rect{50, 524, 450, 824}));
  // Exactly reaching the top of the work area still fits above.
  EXPECT_EQ(PlaceBesidePanel({50, 340, 450, 700}, kWindow, {0, 40, 1280, 984}),
            (Rect{50, 40, 450, 340}));
}

TEST(PanelCompanionPlacement, ClampedIntoTheWorkAreaWhenNeitherSideHasRoom) {
  // A tall panel in the middle: no room above or below; the window is pushed
  // up from below the panel until its bottom meets the taskbar.
  EXPECT_EQ(PlaceBesidePanel({50, 200, 450, 800}, kWindow, kWork), (Rect{50, 684, 450, 984}));
  // A panel partly off the right and bottom edges: above it, moved left.
  EXPECT_EQ(PlaceBesidePanel({1100, 950, 1500, 1150}, kWindow, kWork), (Rect{880, 650, 1280, 950}));
  // A panel left of the screen (a second display on the left was unplugged).
  EXPECT_EQ(PlaceBesidePanel({-900, 100, -500, 300}, kWindow, kWork), (Rect{0, 300, 400, 600}));
  // A panel parked far off every screen.
  EXPECT_EQ(PlaceBesidePanel({4500, 4500, 4900, 4700}, kWindow, kWork), (Rect{880, 684, 1280, 984}));
  // A panel above the work area (taskbar at the top): below it would start
  // under the taskbar.
  EXPECT_EQ(PlaceBesidePanel({-20, -50, 380, 0}, kWindow, {0, 30, 1280, 1024}),
            (Rect{0, 30, 400, 330}));
}

TEST(PanelCompanionPlacement, AWindowLargerThanTheWorkAreaKeepsItsCornerInView) {
  EXPECT_EQ(PlaceBesidePanel({50, 100, 450, 300}, {1400, 1100}, kWork), (Rect{0, 0, 1400, 1100}));
}
