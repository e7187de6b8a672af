#include "graph/GraphBuildLog.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"
#include "core/files/TextFiles.h"

TEST(GraphBuildLogTest, WritesNothingAndCreatesNothingWhenTheFileIsAbsent) {
  TestFolder folder;
  GraphBuildLog log;
  EXPECT_FALSE(log.OpenIfPresent(folder / "telvdebug.txt"));
  log.Write(GraphBuildLog::Entry("LOADING BDA TUNER"));
  log.Write("\n");
  log.Close();
  EXPECT_FALSE(std::filesystem::exists(folder / "telvdebug.txt"));
}

TEST(GraphBuildLogTest, TruncatesAnExistingFileAndSpacesConnectionsWithBareLineFeeds) {
  TestFolder folder;
  const auto file = folder.Write("telvdebug.txt", "an old build\r\nmore\r\n");
  GraphBuildLog log;
  ASSERT_TRUE(log.OpenIfPresent(file));
  log.Write(GraphBuildLog::Entry("LOADING VMR"));
  log.Write(GraphBuildLog::Entry("CONNECTING MPEG2 DEMULTIPLEXER->VMR"));
  log.Write("\n");
  log.Write(GraphBuildLog::Entry("LOADING DIRECTSOUND RENDERER"));
  log.Write(GraphBuildLog::Entry("CONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER"));
  log.Write(GraphBuildLog::Entry("TELVANTIS OK"));
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
  EXPECT_EQ(GraphBuildLog::Entry("CONNECTING VIDEO DECODER->DEFAULT VMR"),
            "CONNECTING VIDEO DECODER->DEFAULT VMR\n");
  EXPECT_EQ(GraphBuildLog::Entry("CONNECTING VIDEO DECODER->VMR"), "CONNECTING VIDEO DECODER->VMR\n");
  EXPECT_EQ(GraphBuildLog::Entry("CONNECTING MPEG2 DEMULTIPLEXER->VMR"),
            "CONNECTING MPEG2 DEMULTIPLEXER->VMR\n");
  EXPECT_EQ(GraphBuildLog::Entry("CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER"),
            "CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER\n\n");
  EXPECT_EQ(GraphBuildLog::Entry("CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER"),
            "CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER\n\n");
  EXPECT_EQ(GraphBuildLog::Entry("VMR FAILED...LOADING DEFAULT VMR"),
            "VMR FAILED...LOADING DEFAULT VMR\n");
  EXPECT_EQ(GraphBuildLog::Entry("USING DECODERS.TXT OK"), "USING DECODERS.TXT OK\n");
}
