#include "graph/GraphBuildLog.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"
#include "core/files/TextFiles.h"

TEST(GraphBuildLogTest, WritesNothingAndCreatesNothingWhenTheFileIsAbsent) {
  TestFolder folder;
  GraphBuildLog log;
  EXPECT_FALSE(log.OpenIfPresent(folder / "telvdebug.txt"));
  log.Step("LOADING BDA TUNER");
  log.LineFeed();
  log.Close();
  EXPECT_FALSE(std::filesystem::exists(folder / "telvdebug.txt"));
}

TEST(GraphBuildLogTest, TruncatesAnExistingFileAndSpacesConnectionsWithBareLineFeeds) {
  TestFolder folder;
  const auto file = folder.Write("telvdebug.txt", "an old build\r\nmore\r\n");
  GraphBuildLog log;
  ASSERT_TRUE(log.OpenIfPresent(file));
  log.Step("LOADING VMR");
  log.Step("CONNECTING MPEG2 DEMULTIPLEXER->VMR");
  log.LineFeed();
  log.Step("LOADING DIRECTSOUND RENDERER");
  log.Step("CONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER");
  log.Step("TELVANTIS OK");
  log.Close();
  EXPECT_EQ(ReadWholeFile(file).value_or(""),
            "LOADING VMR\n"
            "CONNECTING MPEG2 DEMULTIPLEXER->VMR\n"
            "\n"
            "LOADING DIRECTSOUND RENDERER\n"
            "CONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER\n"
            "\n"
            "TELVANTIS OK\n");
}

TEST(GraphBuildLogTest, OnlyTheThreeRendererConnectionsAreSingleSpaced) {
  EXPECT_EQ(GraphBuildLog::LineFeedsAfter("CONNECTING VIDEO DECODER->DEFAULT VMR"), 1);
  EXPECT_EQ(GraphBuildLog::LineFeedsAfter("CONNECTING VIDEO DECODER->VMR"), 1);
  EXPECT_EQ(GraphBuildLog::LineFeedsAfter("CONNECTING MPEG2 DEMULTIPLEXER->VMR"), 1);
  EXPECT_EQ(GraphBuildLog::LineFeedsAfter("CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER"), 2);
  EXPECT_EQ(GraphBuildLog::LineFeedsAfter("CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER"), 2);
  EXPECT_EQ(GraphBuildLog::LineFeedsAfter("VMR FAILED...LOADING DEFAULT VMR"), 1);
  EXPECT_EQ(GraphBuildLog::LineFeedsAfter("USING DECODERS.TXT OK"), 1);
}
