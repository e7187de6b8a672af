#include "core/schedule/ScheduleRow.h"

#include <gtest/gtest.h>

#include "core/schedule/ScheduleFile.h"

// The viewer's schedule tab reads its rows from the file's own lines.
TEST(ScheduleRow, ViewerTabRowsFromScheduleFile) {
  const ScheduleFile::Contents contents = ScheduleFile::Parse(
      "3\n2 1 7 2008 33 7 1 20 0 21 30 0 2 0\nD:\\Recordings\n"
      "3 1 8 2008 33 7 -1 0 5 8 5 1 0 2\n\n"
      "4 1 9 2008 9 9 1 8 45 8 30 3 1 1\n\n");
  ASSERT_EQ(contents.events.size(), 3u);
  auto cells = [](const ScheduleRow& r) {
    return std::vector<std::string>{r.date, r.channel, r.start, r.end, r.duration, r.type, r.frequency, r.whenDone};
  };
  EXPECT_EQ(cells(ScheduleRow::ForViewer(contents.events[0])),
            (std::vector<std::string>{"Mon, Jan 7, 2008", "7-1", "8:00 PM", "9:30 PM", "01:30",
                                      "RECORD-LIVE", "WEEKLY", "CLOSE"}));
  EXPECT_EQ(cells(ScheduleRow::ForViewer(contents.events[1])),
            (std::vector<std::string>{"Tue, Jan 8, 2008", "7-1", "12:05 AM", "8:05 AM", "08:00",
                                      "RECORD-SILENT", "ONCE", "SHUTDOWN"}));
  EXPECT_EQ(cells(ScheduleRow::ForViewer(contents.events[2])),
            (std::vector<std::string>{"Wed, Jan 9, 2008", "9-1", "8:45 AM", "8:30 AM", "23:45",
                                      "TIMESHIFT", "DAILY(M-F)", "KEEP OPEN"}));
  // The scheduler window keeps its two-digit hours.
  EXPECT_EQ(ScheduleRow::ForScheduler(contents.events[2], {}).start, "08:45 AM");
}
