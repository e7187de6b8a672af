#include "core/files/TextFiles.h"

#include <gtest/gtest.h>

#include <sstream>

#include "core/testing/TestFolder.h"

TEST(TextFilesTest, AtomicWriteReplacesTheWholeFileAndLeavesNoTemporary) {
  TestFolder folder;
  folder.Write("a.txt", "a much longer old content\n");
  ASSERT_TRUE(WriteFileAtomically(folder / "a.txt", "new"));
  EXPECT_EQ(folder.Read("a.txt"), "new");
  EXPECT_FALSE(std::filesystem::exists(folder / "a.txt.tmp"));
}

TEST(TextFilesTest, AtomicWriteIntoAMissingFolderFailsWithoutCreatingAnything) {
  TestFolder folder;
  EXPECT_FALSE(WriteFileAtomically(folder / "no" / "such.txt", "x"));
  EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

TEST(TextFilesTest, LimitedLineKeeps99CharactersAndStaysInStepWithTheLines) {
  const std::string longLine(150, 'x');
  std::istringstream in(longLine + "\nsecond\r\n\nlast");
  EXPECT_EQ(ReadLimitedLine(in), std::string(99, 'x'));
  EXPECT_EQ(ReadLimitedLine(in), "second");
  EXPECT_EQ(ReadLimitedLine(in), "");
  EXPECT_EQ(ReadLimitedLine(in), "last");
  EXPECT_EQ(ReadLimitedLine(in), std::nullopt);
}

TEST(TextFilesTest, IntegersStopAtStrayTextAndAtTheLimit) {
  std::istringstream stray("1 2\n3 x 4");
  EXPECT_EQ(ReadIntegers(stray, 10), (std::vector<int>{1, 2, 3}));
  std::istringstream many("1 2 3 4");
  EXPECT_EQ(ReadIntegers(many, 2), (std::vector<int>{1, 2}));
}

TEST(TextFilesTest, RemovingAMissingFileIsNoError) {
  TestFolder folder;
  EXPECT_TRUE(RemoveFileIfPresent(folder / "absent.txt"));
  folder.Write("present.txt", "x");
  EXPECT_TRUE(RemoveFileIfPresent(folder / "present.txt"));
  EXPECT_FALSE(std::filesystem::exists(folder / "present.txt"));
}
