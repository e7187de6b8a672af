#include "core/files/ChannelEntry.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

TEST(ChannelFileTest, WritesTheExactLayoutAndReadsItBack) {
  TestFolder folder;
  const std::vector<ChannelEntry> channels{{"WABC", 7, 7, 1}, {"KQED", 9, 9, -1}};
  ASSERT_TRUE(WriteChannelFile(folder / "channels.txt", channels));
  EXPECT_EQ(folder.Read("channels.txt"), "2\nWABC 7 7 1\nKQED 9 9 -1\n");
  EXPECT_EQ(ReadChannelFile(folder / "channels.txt"), channels);
}

TEST(ChannelFileTest, MissingFileIsReportedAndEmptyListDeletesTheFile) {
  TestFolder folder;
  EXPECT_EQ(ReadChannelFile(folder / "channels.txt"), std::nullopt);
  folder.Write("channels.txt", "1\nA 1 2 3\n");
  ASSERT_TRUE(WriteChannelFile(folder / "channels.txt", {}));
  EXPECT_FALSE(std::filesystem::exists(folder / "channels.txt"));
}

TEST(ChannelFileTest, DamagedFilesGiveWhatCanBeReadAndAreNotTouched) {
  TestFolder folder;
  const std::string overCounted = "5\nA 1 2 3\nB 4 5 6\n";
  folder.Write("channels.txt", overCounted);
  EXPECT_EQ(ReadChannelFile(folder / "channels.txt")->size(), 2u);
  EXPECT_EQ(folder.Read("channels.txt"), overCounted);

  folder.Write("channels.txt", "3\nA 1 2 3\nB x 5 6\nC 7 8 9\n");
  EXPECT_EQ(ReadChannelFile(folder / "channels.txt"),
            (std::vector<ChannelEntry>{{"A", 1, 2, 3}}));

  folder.Write("channels.txt", "garbage");
  EXPECT_EQ(ReadChannelFile(folder / "channels.txt"), std::vector<ChannelEntry>{});

  std::string many = "150\n";
  for (int i = 0; i < 150; ++i) many += "N" + std::to_string(i) + " 1 2 3\n";
  folder.Write("channels.txt", many);
  EXPECT_EQ(ReadChannelFile(folder / "channels.txt")->size(), static_cast<size_t>(kMaxChannels));
}

TEST(ChannelFileTest, NamesWithWhiteSpaceAreJoinedSoTheyReadBackWhole) {
  TestFolder folder;
  ASSERT_TRUE(WriteChannelFile(folder / "channels.txt", {{" Fox  News\t2 ", 5, 5, 2}, {"", 6, 6, 1}}));
  EXPECT_EQ(folder.Read("channels.txt"), "2\nFox_News_2 5 5 2\n- 6 6 1\n");
  const auto read = ReadChannelFile(folder / "channels.txt");
  ASSERT_EQ(read->size(), 2u);
  EXPECT_EQ((*read)[0], (ChannelEntry{"Fox_News_2", 5, 5, 2}));
}

TEST(ChannelFileTest, CaptionsShowAMissingMinorAsOne) {
  EXPECT_EQ(ChannelCaption({"WABC", 7, 7, -1}), "WABC 7-1");
  EXPECT_EQ(SchedulerChannelCaption({"WABC", 7, 7, 2}), "WABC  7-2");
}
