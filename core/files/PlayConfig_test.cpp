#include "core/files/PlayConfig.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

namespace {
const PlayConfig kDefaults = DefaultPlayConfig({1280, 1024}, 620);
}

TEST(PlayConfigTest, DefaultsCentreTheWindowsOnTheScreen) {
  EXPECT_EQ(kDefaults.videoWindow, (Rect{125, 0, 1155, 582}));
  EXPECT_EQ(kDefaults.panelLeft, 330);
  EXPECT_EQ(kDefaults.panelTop, 768);
  EXPECT_EQ(kDefaults.skipForwardSeconds, 60);
  EXPECT_EQ(kDefaults.skipBackSeconds, 15);
  EXPECT_TRUE(kDefaults.primaryDisplay);
}

TEST(PlayConfigTest, WritesTwelveLinesAndReadsThemBack) {
  TestFolder folder;
  PlayConfig c = kDefaults;
  c.aspectMode = AspectMode::Ratio4x3;
  c.primaryDisplay = false;
  c.keepTime = true;
  c.timeDisplayMode = TimeDisplayMode::Remaining;
  ASSERT_TRUE(WritePlayConfig(folder / "playconfig.txt", c));
  EXPECT_EQ(folder.Read("playconfig.txt"), "125\n0\n1155\n582\n330\n768\n2\n60\n15\n0\n1\n1\n");
  EXPECT_EQ(ReadPlayConfig(folder / "playconfig.txt", PlayConfig{}), c);
}

TEST(PlayConfigTest, TheTimeModeComesBackOnlyWithKeepTime) {
  TestFolder folder;
  const auto read = [&](const char* text) {
    folder.Write("playconfig.txt", text);
    return *ReadPlayConfig(folder / "playconfig.txt", kDefaults);
  };
  EXPECT_EQ(read("1 2 3 4 5 6 1 30 30 1 0 1").timeDisplayMode, TimeDisplayMode::Elapsed);
  EXPECT_EQ(read("1 2 3 4 5 6 1 30 30 1 1 2").timeDisplayMode, TimeDisplayMode::Hidden);
  const PlayConfig odd = read("1 2 3 4 5 6 1 30 30 1 7 1");
  EXPECT_FALSE(odd.keepTime);
  EXPECT_EQ(odd.timeDisplayMode, TimeDisplayMode::Elapsed);
  EXPECT_EQ(read("1 2 3 4 5 6 1 30 30 1 1 9").timeDisplayMode, TimeDisplayMode::Elapsed);
  const PlayConfig shortFile = read("1 2 3");
  EXPECT_EQ(shortFile.videoWindow, (Rect{1, 2, 3, 582}));
  EXPECT_EQ(shortFile.skipForwardSeconds, 60);
}
