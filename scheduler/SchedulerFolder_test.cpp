#include "scheduler/SchedulerFolder.h"

#include <gtest/gtest.h>

#include "core/protocol/EventLog.h"
#include "core/testing/TestFolder.h"

TEST(SchedulerFolder, ViewerChannelHandOffChangesOnlyValue11) {
  TestFolder folder;
  SchedulerFolder scheduler(folder.Path());
  const std::string config = "17\n10\n0\n1040\n582\n300\n600\n1\n0\n0\n-1\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0";
  folder.Write("config.txt", config);
  ASSERT_TRUE(scheduler.RewriteViewerChannel(4));
  std::string expected = config;
  expected.replace(expected.find("\n-1\n"), 4, "\n4\n");
  EXPECT_EQ(folder.Read("config.txt"), expected);
  // An unreadable config.txt is not created from nothing.
  TestFolder empty;
  EXPECT_FALSE(SchedulerFolder(empty.Path()).RewriteViewerChannel(4));
  EXPECT_EQ(empty.Read("config.txt"), "<missing>");
}

TEST(SchedulerFolder, LogEntriesAndDebugTrace) {
  TestFolder folder;
  SchedulerFolder scheduler(folder.Path());
  const CivilTime t{2008, 1, 7, 20, 0, 5};
  EXPECT_EQ(EventLog::EventStarted(EventType::RecordLive, t), "RECORD LIVE: 1/7/2008-20:0:5\n\n");
  EXPECT_EQ(EventLog::EventStarted(EventType::WatchLive, t), "WATCH LIVE: 1/7/2008-20:0:5\n\n");
  EXPECT_EQ(EventLog::EventStarted(EventType::RecordSilent, t), "");
  EXPECT_EQ(EventLog::CantOpenViewer(t), "CANT OPEN: 1/7/2008-20:0:5\n");
  EXPECT_EQ(EventLog::RecordingStopped(0, 15, 0), "RECORDING STOPPED: 0:15:0\n\n");
  EXPECT_EQ(EventLog::DebugLine(3, t), "# OF EVENTS: 3  1/7/2008-20:0:5\n");
  // scheddebug.txt is never created by the program, only appended to.
  EXPECT_FALSE(scheduler.AppendDebugLine(EventLog::DebugLine(3, t)));
  EXPECT_EQ(folder.Read("scheddebug.txt"), "<missing>");
  folder.Write("scheddebug.txt", "");
  scheduler.AppendDebugLine(EventLog::DebugLine(3, t));
  scheduler.AppendDebugLine(EventLog::DebugLine(2, t));
  EXPECT_EQ(folder.Read("scheddebug.txt"),
            "# OF EVENTS: 3  1/7/2008-20:0:5\n# OF EVENTS: 2  1/7/2008-20:0:5\n");
  scheduler.AppendLog(EventLog::AlreadyOpen());
  scheduler.AppendLog(EventLog::OpenedViewer(t));
  EXPECT_EQ(folder.Read("scheduler.txt"), "TELVANTIS ALREADY OPEN\nOPEN TELVANTIS: 1/7/2008-20:0:5\n");
}
