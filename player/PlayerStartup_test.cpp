#include "player/PlayerStartup.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

TEST(PlayerStartupTest, DefaultsThenTheFilesModelAndOverscan) {
  TestFolder folder;
  PlayerStartup first = ReadPlayerStartup(folder.Path(), {1920, 1080}, 620);
  EXPECT_EQ(first.config.videoWindow, (Rect{445, 0, 1475, 582}));
  EXPECT_EQ(first.config.panelLeft, 650);
  EXPECT_EQ(first.config.panelTop, 810);
  EXPECT_EQ(first.modelNumber, 0);
  EXPECT_FALSE(first.overscan);

  folder.Write("playconfig.txt", "1\n2\n3\n4\n5\n6\n2\n120\n30\n0\n0\n1\n");
  folder.Write("config.txt", "17\n100\n50\n746\n416\n30\n700\n1\n0\n0\n-1\n1\n1\n1\n1\n0\n1\n0\n");
  const PlayerStartup read = ReadPlayerStartup(folder.Path(), {1920, 1080}, 620);
  EXPECT_EQ(read.config.videoWindow, (Rect{1, 2, 3, 4}));
  EXPECT_EQ(read.config.aspectMode, AspectMode::Ratio4x3);
  EXPECT_EQ(read.config.skipForwardSeconds, 120);
  EXPECT_FALSE(read.config.primaryDisplay);
  // Keep time off: the remaining-time mode of the file is not kept.
  EXPECT_EQ(read.config.timeDisplayMode, TimeDisplayMode::Elapsed);
  EXPECT_EQ(read.modelNumber, 17);
  EXPECT_TRUE(read.overscan);
}

TEST(PlayerStartupTest, CommandLinePathLosesItsQuotesAndIsCutAt200) {
  EXPECT_EQ(CommandLinePath("\"C:\\rec\\a b.ts\""), "C:\\rec\\a b.ts");
  EXPECT_EQ(CommandLinePath(""), "");
  EXPECT_EQ(CommandLinePath(std::string(250, 'x')).size(), 200u);
}
