#include "core/schedule/ScheduleFile.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

namespace {

const char* kExample = "1\n2 1 7 2008 33 7 1 20 0 21 30 0 2 0\nD:\\Recordings\n";

}  // namespace

TEST(ScheduleFile, ReadsAndWritesTheExactLayout) {
  const auto contents = ScheduleFile::Parse(kExample);
  EXPECT_FALSE(contents.IsDamaged());
  ASSERT_EQ(contents.events.size(), 1u);
  const ScheduleEvent& e = contents.events[0];
  EXPECT_EQ(e.year, 2008);
  EXPECT_EQ(e.endMinute, 30);
  EXPECT_EQ(e.frequency, EventFrequency::Weekly);
  EXPECT_EQ(e.folder, "D:\\Recordings");
  EXPECT_EQ(ScheduleFile::Format(contents.events), kExample);
  // An empty folder is an empty line; a CR LF file reads the same.
  EXPECT_EQ(ScheduleFile::Parse("1\r\n2 1 7 2008 33 7 1 20 0 21 30 0 2 0\r\n\r\n").events.at(0).folder, "");
}

TEST(ScheduleFile, CodesKeepTheirNumbersAndUnknownNumbersAreRefused) {
  // Type 3, frequency 1, when done 2; then type 1, frequency 0, when done 1.
  const std::string text =
      "2\n2 1 7 2030 33 7 1 20 0 21 30 3 1 2\nD:\\A\n2 1 7 2030 33 7 1 22 0 23 0 1 0 1\n\n";
  const auto contents = ScheduleFile::Parse(text);
  ASSERT_FALSE(contents.IsDamaged());
  ASSERT_EQ(contents.events.size(), 2u);
  EXPECT_EQ(contents.events[0].type, EventType::Timeshift);
  EXPECT_EQ(contents.events[0].frequency, EventFrequency::DailyWeekdays);
  EXPECT_EQ(contents.events[0].whenDone, WhenDone::Shutdown);
  EXPECT_EQ(contents.events[1].type, EventType::RecordSilent);
  EXPECT_EQ(contents.events[1].frequency, EventFrequency::Once);
  EXPECT_EQ(contents.events[1].whenDone, WhenDone::KeepOpen);
  EXPECT_EQ(ScheduleFile::Format(contents.events), text);

  const auto refusal = [](const std::string& codes, const std::string& day = "7") {
    const auto read = ScheduleFile::Parse("1\n2 1 " + day + " 2030 33 7 1 20 0 21 30 " + codes + "\n\n");
    EXPECT_TRUE(read.events.empty()) << codes;
    return read.problems.empty() ? std::string() : read.problems.front();
  };
  EXPECT_EQ(refusal("4 0 0"), "SCHEDULE.TXT LINE 2: UNKNOWN TYPE CODE, EVENT REFUSED");
  EXPECT_EQ(refusal("-1 0 0"), "SCHEDULE.TXT LINE 2: UNKNOWN TYPE CODE, EVENT REFUSED");
  EXPECT_EQ(refusal("0 3 0"), "SCHEDULE.TXT LINE 2: UNKNOWN FREQUENCY CODE, EVENT REFUSED");
  EXPECT_EQ(refusal("0 0 3"), "SCHEDULE.TXT LINE 2: UNKNOWN WHEN DONE CODE, EVENT REFUSED");
  // An impossible date is reported before a wrong code.
  EXPECT_EQ(refusal("9 9 9", "32"), "SCHEDULE.TXT LINE 2: IMPOSSIBLE DATE OR START TIME, EVENT REFUSED");
}

TEST(ScheduleFile, EmptyListDeletesTheFile) {
  TestFolder folder;
  const auto file = folder / "schedule.txt";
  ScheduleList list(ScheduleFile::Parse(kExample).events);
  ASSERT_TRUE(ScheduleFile::Write(file, list.Events()));
  EXPECT_EQ(folder.Read("schedule.txt"), kExample);
  list.Remove(0);
  ASSERT_TRUE(ScheduleFile::Write(file, list.Events()));
  EXPECT_EQ(folder.Read("schedule.txt"), "<missing>");
  EXPECT_EQ(ScheduleFile::Read(file), std::nullopt);
}

TEST(ScheduleFile, DamagedFileKeepsValidEventsAndIsKeptAside) {
  TestFolder folder;
  const std::string damaged =
      "5\n"
      "2 1 7 2030 33 7 1 20 0 21 30 0 2 0\nD:\\A\n"
      "2 2 30 2030 33 7 1 20 0 21 30 0 2 0\nD:\\Impossible\n"   // 30 February
      "garbage line\n"
      "2 1 8 2030 33 7 1 20 0 21 30 9 2 0\nD:\\BadCode\n"
      "3 1 8 2030 33 7 1 22 0 23 0 1 0 2 extra words\nD:\\B\n";  // wrong day of week, stray text
  folder.Write("schedule.txt", damaged);
  const auto result = ScheduleFile::Load(folder / "schedule.txt", CivilTime{2030, 1, 1, 0, 0, 0});
  ASSERT_EQ(result.list.Count(), 2u);
  EXPECT_EQ(result.list.At(0).folder, "D:\\A");
  EXPECT_EQ(result.list.At(1).folder, "D:\\B");
  EXPECT_EQ(result.list.At(1).dayOfWeek, 3);  // 8 January 2030 is a Tuesday
  ASSERT_TRUE(result.keptAside);
  EXPECT_EQ(folder.Read("schedule.txt.bad"), damaged);
  // Each refusal is reported, then the count and where the copy went.
  std::string all;
  for (const auto& p : result.problems) all += p + "|";
  EXPECT_NE(all.find("LINE 4: IMPOSSIBLE DATE OR START TIME, EVENT REFUSED"), std::string::npos) << all;
  EXPECT_NE(all.find("LINE 6: NOT AN EVENT"), std::string::npos) << all;
  EXPECT_NE(all.find("LINE 7: UNKNOWN TYPE CODE"), std::string::npos) << all;
  EXPECT_NE(all.find("STRAY TEXT"), std::string::npos) << all;
  EXPECT_NE(all.find("THE COUNT SAYS 5 EVENTS, 4 FOUND"), std::string::npos) << all;
  EXPECT_NE(all.find("KEPT AS schedule.txt.bad"), std::string::npos) << all;
  // The rewritten file holds the valid events only.
  EXPECT_EQ(ScheduleFile::Read(folder / "schedule.txt")->events.size(), 2u);
  // A second damaged load does not overwrite the first copy.
  folder.Write("schedule.txt", "3\n");
  const auto again = ScheduleFile::Load(folder / "schedule.txt", CivilTime{2030, 1, 1, 0, 0, 0});
  EXPECT_EQ(again.keptAside->filename(), "schedule.txt.bad2");
  EXPECT_EQ(folder.Read("schedule.txt.bad"), damaged);
  EXPECT_EQ(folder.Read("schedule.txt"), "<missing>");
}

TEST(ScheduleFile, LoadCleansUpAndRewrites) {
  TestFolder folder;
  folder.Write("schedule.txt",
               "3\n"
               "2 1 7 2008 33 7 1 9 0 10 0 0 0 0\n\n"     // once, past: dropped
               "2 1 7 2008 33 7 1 20 0 21 0 0 2 0\n\n"    // weekly, past: next Monday
               "4 1 16 2008 33 7 1 13 0 14 0 0 0 0\n\n");
  const auto result = ScheduleFile::Load(folder / "schedule.txt", CivilTime{2008, 1, 16, 12, 0, 0});
  EXPECT_TRUE(result.problems.empty());
  EXPECT_FALSE(result.keptAside);
  EXPECT_EQ(folder.Read("schedule.txt"),
            "2\n4 1 16 2008 33 7 1 13 0 14 0 0 0 0\n\n2 1 21 2008 33 7 1 20 0 21 0 0 2 0\n\n");
  // A missing file is an empty list and no problem.
  EXPECT_TRUE(ScheduleFile::Load(folder / "none.txt", CivilTime{}).list.IsEmpty());
}

TEST(ScheduleFile, OverLongFolderAndTooManyEventsAreRefused) {
  std::string text = "52\n";
  for (int i = 0; i < 52; ++i) {
    text += "2 1 7 2030 33 7 1 " + std::to_string(i % 24) + " 0 0 0 0 0 0\n";
    text += (i == 3 ? std::string(200, 'f') : std::string("F")) + "\n";
  }
  const auto contents = ScheduleFile::Parse(text);
  EXPECT_EQ(contents.events.size(), 50u);
  std::string all;
  for (const auto& p : contents.problems) all += p + "|";
  EXPECT_NE(all.find("FOLDER LONGER THAN 199 CHARACTERS"), std::string::npos) << all;
  EXPECT_NE(all.find("MORE THAN 50 EVENTS"), std::string::npos) << all;
}

TEST(ScheduleFile, EventIntegersMaySpreadOverLines) {
  const auto contents = ScheduleFile::Parse(
      "3\n"
      "2 1 7 2030 33 7\n1 20 0\n21 30\t0 2 0\nD:\\A\n"
      "\n"
      " 2 1 14 2030 33 7 1 20 0 21 30 0 2 0   \n\n"  // trailing blanks, empty folder
      "2 1 21 2030 33\n");                           // cut off
  ASSERT_EQ(contents.events.size(), 2u);
  EXPECT_EQ(contents.events[0].startHour, 20);
  EXPECT_EQ(contents.events[0].endMinute, 30);
  EXPECT_EQ(contents.events[0].folder, "D:\\A");
  EXPECT_EQ(contents.events[1].day, 14);
  EXPECT_EQ(contents.events[1].folder, "");
  ASSERT_EQ(contents.problems.size(), 2u);
  EXPECT_EQ(contents.problems[0], "SCHEDULE.TXT LINE 9: NOT AN EVENT, IGNORED");
  EXPECT_EQ(contents.problems[1], "SCHEDULE.TXT: THE COUNT SAYS 3 EVENTS, 2 FOUND");
}
