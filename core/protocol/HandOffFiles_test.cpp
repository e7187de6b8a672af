#include "core/protocol/HandOffFiles.h"

#include <gtest/gtest.h>

#include "core/protocol/ProgramProtocol.h"
#include "core/testing/TestFolder.h"

TEST(HandOffFiles, SilentEventLayoutAndReader) {
  TestFolder folder;
  const SilentEventHandOff handOff{33, 7, -1, 21, 5, WhenDone::Shutdown, "D:\\Rec\\"};
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

TEST(HandOffFiles, WhenDoneCodesKeepTheirNumbers) {
  EXPECT_EQ(HandOffFiles::ParseRecLive("1 2 3 4 1 ")->whenDone, WhenDone::KeepOpen);
  EXPECT_EQ(HandOffFiles::ParseRecLive("1 2 3 4 2 ")->whenDone, WhenDone::Shutdown);
  EXPECT_EQ(HandOffFiles::RecLiveText(RecLiveHandOff{1, 2, 3, 4, WhenDone::KeepOpen}), "1 2 3 4 1 ");
  EXPECT_EQ(HandOffFiles::ParseSilentEvent("1 2 3 4 5 0\nD:\\\n")->whenDone, WhenDone::Close);
  // A number outside the list makes the whole hand-off unreadable.
  EXPECT_FALSE(HandOffFiles::ParseRecLive("1 2 3 4 3 "));
  EXPECT_FALSE(HandOffFiles::ParseRecLive("1 2 3 4 -1 "));
  EXPECT_FALSE(HandOffFiles::ParseSilentEvent("1 2 3 4 5 3\nD:\\\n"));
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
