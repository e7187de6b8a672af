#include "core/files/TunerFiles.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

TEST(TunerFilesTest, ReadsBothLinesAndWritesThemBack) {
  TestFolder folder;
  ASSERT_TRUE(WriteTunerFile(folder / "tuner.txt",
                             {"Hauppauge WinTV 885 BDA Tuner/Demod", "Hauppauge WinTV 885 TS Capture"}));
  EXPECT_EQ(folder.Read("tuner.txt"),
            "Hauppauge WinTV 885 BDA Tuner/Demod\nHauppauge WinTV 885 TS Capture\n");
  const auto names = ReadTunerFile(folder / "tuner.txt");
  ASSERT_TRUE(names);
  EXPECT_EQ(names->tuner, "Hauppauge WinTV 885 BDA Tuner/Demod");
  EXPECT_EQ(names->capture, "Hauppauge WinTV 885 TS Capture");
}

TEST(TunerFilesTest, OverLongLinesAreCutAndTheSecondLineStaysTheSecond) {
  TestFolder folder;
  folder.Write("decoders.txt", std::string(120, 'v') + "\nAudio Decoder\n");
  const auto names = ReadDecodersFile(folder / "decoders.txt");
  ASSERT_TRUE(names);
  EXPECT_EQ(names->video, std::string(99, 'v'));
  EXPECT_EQ(names->audio, "Audio Decoder");
}

TEST(TunerFilesTest, MissingAndEmptyFiles) {
  TestFolder folder;
  EXPECT_FALSE(ReadTunerFile(folder / "tuner.txt"));
  EXPECT_FALSE(ReadDecodersFile(folder / "decoders.txt"));
  folder.Write("tuner.txt", "\n");
  const auto names = ReadTunerFile(folder / "tuner.txt");
  ASSERT_TRUE(names);
  EXPECT_EQ(names->tuner, "");
  EXPECT_EQ(names->capture, "");
}
