#include "core/files/ChannelVolumes.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

TEST(ChannelVolumesTest, EveryVolumeReadsBackAsTheSameFloat) {
  TestFolder folder;
  ChannelVolumes volumes = NoChannelVolumes();
  volumes[0] = 65535.0f;
  volumes[1] = 32767.5f;
  volumes[2] = 1638.375f;
  volumes[3] = 0.1f;
  volumes[4] = 12345.678f;
  ASSERT_TRUE(WriteChannelVolumes(folder / "chvols.txt", 6, volumes));
  EXPECT_EQ(folder.Read("chvols.txt"), "65535\n32767.5\n1638.375\n0.1\n12345.678\n-1\n");
  ChannelVolumes read = NoChannelVolumes();
  ASSERT_TRUE(ReadChannelVolumes(folder / "chvols.txt", 6, read));
  EXPECT_EQ(read, volumes);
}

TEST(ChannelVolumesTest, AShortFileLeavesTheRestAtMinusOne) {
  TestFolder folder;
  folder.Write("chvols.txt", "100\n-1\n200");
  ChannelVolumes read = NoChannelVolumes();
  ASSERT_TRUE(ReadChannelVolumes(folder / "chvols.txt", 5, read));
  EXPECT_EQ(read[0], 100.0f);
  EXPECT_EQ(read[1], kNoChannelVolume);
  EXPECT_EQ(read[2], 200.0f);
  EXPECT_EQ(read[3], kNoChannelVolume);
  EXPECT_EQ(read[4], kNoChannelVolume);
}

TEST(ChannelVolumesTest, ReadsNoMoreThanTheChannelCount) {
  TestFolder folder;
  folder.Write("chvols.txt", "1\n2\n3\n");
  ChannelVolumes read = NoChannelVolumes();
  ASSERT_TRUE(ReadChannelVolumes(folder / "chvols.txt", 2, read));
  EXPECT_EQ(read[2], kNoChannelVolume);
  EXPECT_FALSE(ReadChannelVolumes(folder / "missing.txt", 2, read));
}

TEST(ChannelVolumesTest, NonNumbersAndLevelsOutsideTheMixerRangeReadAsNotSet) {
  TestFolder folder;
  // One entry per channel: each damaged entry is "not set" on its own, and
  // the channels after it still get their levels.
  folder.Write("chvols.txt",
               "loud\n70000\n-5\n1e38\nnan\ninf\n-1\n0\n65535\n1.5e3\n-0.5\n12x\n300\n");
  ChannelVolumes read = NoChannelVolumes();
  ASSERT_TRUE(ReadChannelVolumes(folder / "chvols.txt", 13, read));
  for (int i : {0, 1, 2, 3, 4, 5, 6, 10, 11}) {
    EXPECT_EQ(read[static_cast<std::size_t>(i)], kNoChannelVolume) << "entry " << i;
  }
  EXPECT_EQ(read[7], 0.0f);
  EXPECT_EQ(read[8], 65535.0f);
  EXPECT_EQ(read[9], 1500.0f);
  EXPECT_EQ(read[12], 300.0f);
}
