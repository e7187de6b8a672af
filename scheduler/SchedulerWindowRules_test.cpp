#include "scheduler/SchedulerWindowRules.h"

#include <gtest/gtest.h>

using namespace SchedulerWindowRules;

TEST(SchedulerWindowRules, DurationCouplingAndLabel) {
  EXPECT_EQ(DurationLabel({1, 5}), "DURATION: 1:05");
  EXPECT_EQ(DurationLabel({23, 45}), "DURATION: 23:45");
  EXPECT_EQ(EndFromStart({22, 50}, 1, 30), (ClockTime{0, 20}));
  const auto back = DurationBetween({10, 30}, {10, 15});
  EXPECT_EQ(back.hours, 23);
  EXPECT_EQ(back.minutes, 45);
}

TEST(SchedulerWindowRules, TypesTrayMenuAndPlacement) {
  EXPECT_TRUE(ControlsFor(EventType::RecordSilent).folderChoice);
  EXPECT_FALSE(ControlsFor(EventType::RecordLive).folderChoice);
  EXPECT_TRUE(ControlsFor(EventType::RecordLive).endAndDuration);
  EXPECT_TRUE(ControlsFor(EventType::WatchLive).resetDuration);
  EXPECT_EQ(ControlsFor(EventType::Timeshift).folder, TypeFolder::Timeshift);
  EXPECT_FALSE(ControlsFor(EventType::Timeshift).endAndDuration);
  // "Open Telvantis" is grayed while a silent recording runs.
  EXPECT_TRUE(TrayMenuFor(false, true).openViewerGrayed);
  EXPECT_FALSE(TrayMenuFor(false, true).openRecorderGrayed);
  EXPECT_TRUE(TrayMenuFor(true, false).openRecorderGrayed);
  // Taskbar at the bottom, top, left and right of a 1024x768 screen.
  EXPECT_EQ(PlaceByTaskbar({0, 738, 1024, 768}, 1024, 768, 300, 200), (ScreenPoint{724, 538}));
  EXPECT_EQ(PlaceByTaskbar({0, 0, 1024, 30}, 1024, 768, 300, 200), (ScreenPoint{724, 30}));
  EXPECT_EQ(PlaceByTaskbar({0, 0, 60, 768}, 1024, 768, 300, 200), (ScreenPoint{60, 568}));
  EXPECT_EQ(PlaceByTaskbar({964, 0, 1024, 768}, 1024, 768, 300, 200), (ScreenPoint{664, 568}));
}
