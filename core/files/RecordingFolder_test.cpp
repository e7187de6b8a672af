#include "core/files/RecordingFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/testing/TestFolder.h"

TEST(RecordingFolder, RefusesMissingAndReadOnlyFoldersAndLeavesNothingBehind) {
  TestFolder folder;
  EXPECT_EQ(RecordingFolderProblem(folder.Path()), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

  EXPECT_EQ(RecordingFolderProblem(folder.Path() / "gone"), "FOLDER DOES NOT EXIST");
  EXPECT_EQ(RecordingFolderProblem(""), "FOLDER DOES NOT EXIST");
  std::ofstream(folder.Path() / "file.txt") << "x";
  EXPECT_EQ(RecordingFolderProblem(folder.Path() / "file.txt"), "FOLDER DOES NOT EXIST");

  const std::filesystem::path locked = folder.Path() / "locked";
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_exec);
  if (::geteuid() != 0) {  // the superuser writes anywhere
    EXPECT_EQ(RecordingFolderProblem(locked), "CAN'T WRITE TO THIS FOLDER");
  }
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}
