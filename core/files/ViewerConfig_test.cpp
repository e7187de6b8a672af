#include "core/files/ViewerConfig.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

namespace {

const ViewerConfig kDefaults = DefaultViewerConfig({1920, 1080}, 600, 17);

std::string ConfigText(int value11, int value23, int value24) {
  return "6\n10\n20\n1040\n602\n30\n40\n2\n1\n1\n" + std::to_string(value11) +
         "\n0\n0\n0\n0\n1\n0\n1\n1\n30\n120\n0\n" + std::to_string(value23) + "\n" +
         std::to_string(value24);
}

}  // namespace

TEST(ViewerConfigTest, DefaultsFollowTheScreenSize) {
  EXPECT_EQ(kDefaults.videoWindow, (Rect{445, 0, 1475, 582}));
  EXPECT_EQ(kDefaults.panelLeft, 660);
  EXPECT_EQ(kDefaults.panelTop, 810);
  EXPECT_EQ(kDefaults.tunerModel, 17);
  // A screen narrower than the window: truncation toward zero, not floor.
  const ViewerConfig narrow = DefaultViewerConfig({1025, 767}, 600, 0);
  EXPECT_EQ(narrow.videoWindow.left, -2);
  EXPECT_EQ(narrow.videoWindow.right, 1027);
  EXPECT_EQ(narrow.panelTop, 575);
}

TEST(ViewerConfigTest, ReadsEveryValueInOrder) {
  TestFolder folder;
  folder.Write("config.txt", ConfigText(3, 0, 1));
  const auto c = ReadViewerConfig(folder / "config.txt", kDefaults);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->tunerModel, 6);
  EXPECT_EQ(c->videoWindow, (Rect{10, 20, 1040, 602}));
  EXPECT_EQ(c->panelLeft, 30);
  EXPECT_EQ(c->panelTop, 40);
  EXPECT_EQ(c->aspectMode, AspectMode::Ratio4x3);
  EXPECT_TRUE(c->fullScreen);
  EXPECT_TRUE(c->alwaysOnTop);
  EXPECT_EQ(c->currentChannel, 3);
  EXPECT_FALSE(c->displayChannelNumber);
  EXPECT_FALSE(c->lockResize);
  EXPECT_TRUE(c->perChannelAspect);
  EXPECT_FALSE(c->overscan);
  EXPECT_TRUE(c->muteOnMinimize);
  EXPECT_TRUE(c->perChannelVolume);
  EXPECT_EQ(c->skipForwardSeconds, 30);
  EXPECT_EQ(c->skipBackSeconds, 120);
  EXPECT_FALSE(c->fullScreenOnPrimary);
  EXPECT_FALSE(c->displayTransparent);
  EXPECT_TRUE(c->savePerChannelVolume);
}

TEST(ViewerConfigTest, ReadingRulesOfValues11_23And24) {
  TestFolder folder;
  folder.Write("config.txt", ConfigText(-1, 5, 5));
  const auto c = ReadViewerConfig(folder / "config.txt", kDefaults);
  EXPECT_EQ(c->currentChannel, 0);
  EXPECT_TRUE(c->displayTransparent);
  EXPECT_FALSE(c->savePerChannelVolume);
}

TEST(ViewerConfigTest, AspectModeValue) {
  TestFolder folder;
  const auto aspect = [&](const std::string& value8) {
    folder.Write("config.txt", "17 1 2 3 4 5 6 " + value8);
    return ReadViewerConfig(folder / "config.txt", kDefaults)->aspectMode;
  };
  EXPECT_EQ(aspect("1"), AspectMode::Ratio16x9);
  EXPECT_EQ(aspect("2"), AspectMode::Ratio4x3);
  // Any other number places the picture as 16:9.
  EXPECT_EQ(aspect("0"), AspectMode::Ratio16x9);
  EXPECT_EQ(aspect("7"), AspectMode::Ratio16x9);
  EXPECT_EQ(kDefaults.aspectMode, AspectMode::Ratio16x9);
}

TEST(ViewerConfigTest, ShortOrDamagedFilesKeepDefaultsAndAreNotRewritten) {
  TestFolder folder;
  EXPECT_EQ(ReadViewerConfig(folder / "config.txt", kDefaults), std::nullopt);
  folder.Write("config.txt", "3\n1\n2\nrubbish 9 9");
  const auto c = ReadViewerConfig(folder / "config.txt", kDefaults);
  EXPECT_EQ(c->tunerModel, 3);
  EXPECT_EQ(c->videoWindow, (Rect{1, 2, kDefaults.videoWindow.right, 582}));
  EXPECT_EQ(c->skipForwardSeconds, 60);
  EXPECT_EQ(folder.Read("config.txt"), "3\n1\n2\nrubbish 9 9");
}

TEST(ViewerConfigTest, WritesAll24ValuesWithoutAFinalLineFeedAndReadsThemBack) {
  TestFolder folder;
  ViewerConfig c = kDefaults;
  c.currentChannel = 4;
  c.savePerChannelVolume = true;
  ASSERT_TRUE(WriteViewerConfig(folder / "config.txt", c));
  EXPECT_EQ(folder.Read("config.txt"),
            "17\n445\n0\n1475\n582\n660\n810\n1\n0\n0\n4\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n1");
  EXPECT_EQ(ReadViewerConfig(folder / "config.txt", ViewerConfig{}), c);
}

TEST(ViewerConfigTest, RewritingTheChannelChangesValue11AndNothingElse) {
  TestFolder folder;
  folder.Write("config.txt", ConfigText(3, 5, 5));
  ASSERT_TRUE(RewriteCurrentChannel(folder / "config.txt", 7));
  EXPECT_EQ(folder.Read("config.txt"), ConfigText(7, 5, 5));

  EXPECT_FALSE(RewriteCurrentChannel(folder / "missing.txt", 7));
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.txt"));
  folder.Write("short.txt", "1 2 3");
  EXPECT_FALSE(RewriteCurrentChannel(folder / "short.txt", 7));
  EXPECT_EQ(folder.Read("short.txt"), "1 2 3");
}

TEST(ViewerConfigTest, RewritingTheChannelKeepsEverythingAfterAStrayToken) {
  TestFolder folder;
  // Stray text after value 11: the values behind it are still the user's and
  // must survive the hand-off untouched, as must the file's own spacing.
  const std::string before = "6 10 20 1040 602 30 40\r\n2 1 1 3\n0 0 abc 0 1 0 1 1 30 120 0 5 5";
  folder.Write("config.txt", before);
  ASSERT_TRUE(RewriteCurrentChannel(folder / "config.txt", 12));
  EXPECT_EQ(folder.Read("config.txt"),
            "6 10 20 1040 602 30 40\r\n2 1 1 12\n0 0 abc 0 1 0 1 1 30 120 0 5 5");

  // The last value of a file without a final line feed, and one with a sign.
  folder.Write("eleven.txt", "1 2 3 4 5 6 7 8 9 10 +4");
  ASSERT_TRUE(RewriteCurrentChannel(folder / "eleven.txt", 0));
  EXPECT_EQ(folder.Read("eleven.txt"), "1 2 3 4 5 6 7 8 9 10 0");

  // Stray text before value 11 leaves no value 11 to replace.
  folder.Write("early.txt", "1 2 3 x 5 6 7 8 9 10 11 12");
  EXPECT_FALSE(RewriteCurrentChannel(folder / "early.txt", 7));
  EXPECT_EQ(folder.Read("early.txt"), "1 2 3 x 5 6 7 8 9 10 11 12");
}
