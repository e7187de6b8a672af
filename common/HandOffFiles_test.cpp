#include "HandOffFiles.h"

#include <gtest/gtest.h>

#include "EventLog.h"
#include "ProgramProtocol.h"
#include "SchedulerFolder.h"
#include "TestFolder.h"

TEST(HandOffFiles, SilentEventLayoutAndReader) {
  TestFolder folder;
  const SilentEventHandOff handOff{33, 7, -1, 21, 5, kShutdownWhenDone, "D:\\Rec\\"};
  EXPECT_EQ(HandOffFiles::SilentEventText(handOff), "33 7 -1 21 5 2\nD:\\Rec\\\n");
  folder.Write("silentevent.txt", HandOffFiles::SilentEventText(handOff));
  const auto read = HandOffFiles::TakeSilentEvent(folder / "silentevent.txt");
  EXPECT_TRUE(read.present);
  EXPECT_EQ(read.data, handOff);
  EXPECT_EQ(folder.Read("silentevent.txt"), "<missing>");  // the reader deletes it
  // No file: manual mode. A damaged file is reported as such and deleted too.
  EXPECT_FALSE(HandOffFiles::TakeSilentEvent(folder / "silentevent.txt").present);
  folder.Write("silentevent.txt", "33 7 1 25 0 0\nD:\\\n");
  const auto damaged = HandOffFiles::TakeSilentEvent(folder / "silentevent.txt");
  EXPECT_TRUE(damaged.present);
  EXPECT_FALSE(damaged.data);
  EXPECT_EQ(folder.Read("silentevent.txt"), "<missing>");
  // The folder slot holds 199 characters; a longer line is refused, not cut.
  EXPECT_TRUE(HandOffFiles::ParseSilentEvent("1 2 3 4 5 0\n" + std::string(199, 'a') + "\n"));
  EXPECT_FALSE(HandOffFiles::ParseSilentEvent("1 2 3 4 5 0\n" + std::string(200, 'a') + "\n"));
  // A file without its folder line gives an empty folder.
  EXPECT_EQ(HandOffFiles::ParseSilentEvent("1 2 3 4 5 1")->folder, "");
}

TEST(HandOffFiles, RecLiveLayoutAndReader) {
  TestFolder folder;
  ScheduleEvent event;
  event.startHour = 23; event.startMinute = 30; event.endHour = 0; event.endMinute = 15;
  const RecLiveHandOff handOff = RecLiveHandOff::From(event);
  EXPECT_EQ(HandOffFiles::RecLiveText(handOff), "23 30 0 15 0 ");
  folder.Write("reclive.txt", HandOffFiles::RecLiveText(handOff));
  EXPECT_EQ(HandOffFiles::TakeRecLive(folder / "reclive.txt").data, handOff);
  EXPECT_EQ(folder.Read("reclive.txt"), "<missing>");
  EXPECT_FALSE(HandOffFiles::ParseRecLive("23 30 0"));
  EXPECT_FALSE(HandOffFiles::ParseRecLive("23 60 0 15 0"));
}

TEST(HandOffFiles, DelayFile) {
  TestFolder folder;
  EXPECT_EQ(HandOffFiles::ReadDelay(folder / "delay.txt"), 0);
  ASSERT_TRUE(HandOffFiles::WriteDelay(folder / "delay.txt", 12));
  EXPECT_EQ(folder.Read("delay.txt"), "12");
  folder.Write("delay.txt", "99");
  EXPECT_EQ(HandOffFiles::ReadDelay(folder / "delay.txt"), 30);
  folder.Write("delay.txt", "abc");
  EXPECT_EQ(HandOffFiles::ReadDelay(folder / "delay.txt"), 0);
}

TEST(HandOffFiles, ViewerChannelHandOffChangesOnlyValue11) {
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

TEST(HandOffFiles, LogEntriesAndDebugTrace) {
  TestFolder folder;
  SchedulerFolder scheduler(folder.Path());
  const CivilTime t{2008, 1, 7, 20, 0, 5};
  EXPECT_EQ(EventLog::EventStarted(kRecordLive, t), "RECORD LIVE: 1/7/2008-20:0:5\n\n");
  EXPECT_EQ(EventLog::EventStarted(kWatchLive, t), "WATCH LIVE: 1/7/2008-20:0:5\n\n");
  EXPECT_EQ(EventLog::EventStarted(kRecordSilent, t), "");
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

TEST(ProgramProtocol, SwitchReportsAndVariants) {
  using namespace ProgramProtocol;
  EXPECT_TRUE(IsLockSwitch("/LOCKTELVANTISSR"));
  EXPECT_FALSE(IsLockSwitch("/locktelvantissr"));
  EXPECT_FALSE(IsLockSwitch(" /LOCKTELVANTISSR"));
  EXPECT_EQ(DecodeRecorderReport(1, 0), RecorderReport::StartedByUser);
  EXPECT_EQ(DecodeRecorderReport(1, 1), RecorderReport::StartedForEvent);
  EXPECT_EQ(DecodeRecorderReport(0, 1), RecorderReport::Stopped);
  EXPECT_EQ(DecodeRecorderReport(0, 0), std::nullopt);
  EXPECT_EQ(DecodeRecorderReport(2, 0), std::nullopt);
  EXPECT_STREQ(kShutdownParameters, "-s -t 60 -c \"TO ABORT SHUTDOWN, TYPE IN RUN  shutdown -a\"");
  const auto ts = SchedulerVariantNames::For(SchedulerVariant::TransportStream);
  EXPECT_STREQ(ts.recorderExe, "TelvantisSRTS.exe");
  EXPECT_STREQ(ts.playerExe, "TelvantisPlayTS.exe");
  EXPECT_EQ(ts.maxRecorderPolls, 200000);
  EXPECT_EQ(SchedulerVariantNames::For(SchedulerVariant::DvrMs).maxRecorderPolls, 1000000);
  const auto model = FindTuningModel(17, std::nullopt);
  ASSERT_TRUE(model);
  EXPECT_EQ(WindowTitle(*model, ts.recorderWindow), "Silent Record TS- Hauppauge WinTV 885");
  EXPECT_EQ(WindowTitle(*model, ts.schedulerWindow), "Telvantis Scheduler TS- Hauppauge WinTV 885");
}
