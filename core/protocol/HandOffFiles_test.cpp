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

namespace {

ScheduleEvent GuideRecording() {
  ScheduleEvent event;  // Monday 7 January 2008, 19:59 to 21:02, channel 33 7-1
  event.dayOfWeek = 2; event.month = 1; event.day = 7; event.year = 2008;
  event.channel1 = 33; event.channel2 = 7; event.channel3 = 1;
  event.startHour = 19; event.startMinute = 59; event.endHour = 21; event.endMinute = 2;
  event.folder = "D:\\Rec\\";
  return event;
}

}  // namespace

TEST(HandOffFiles, GuideEventRoundTripAndOneAtATime) {
  TestFolder folder;
  const auto file = folder / "guideevent.txt";
  const GuideEventHandOff first{41, GuideRecording()};
  EXPECT_EQ(HandOffFiles::GuideEventText(first),
            "41\n1\n2 1 7 2008 33 7 1 19 59 21 2 0 0 0\nD:\\Rec\\\n");
  EXPECT_EQ(HandOffFiles::OfferGuideEvent(file, first).outcome, GuideOffer::Outcome::Written);
  // A second RECORD before the scheduler took the first must not replace it.
  GuideEventHandOff second{42, GuideRecording()};
  second.event.startHour = 22;
  EXPECT_EQ(HandOffFiles::OfferGuideEvent(file, second).outcome, GuideOffer::Outcome::Busy);
  const auto taken = HandOffFiles::TakeGuideEvent(file);
  EXPECT_TRUE(taken.present);
  EXPECT_EQ(taken.data, first);
  EXPECT_EQ(folder.Read("guideevent.txt"), "<missing>");
  EXPECT_FALSE(HandOffFiles::TakeGuideEvent(file).present);  // a repeated message finds nothing
  EXPECT_EQ(HandOffFiles::OfferGuideEvent(file, second).outcome, GuideOffer::Outcome::Written);

  // An event the scheduler could not read back is not written at all.
  GuideEventHandOff longFolder{43, GuideRecording()};
  longFolder.event.folder = std::string(200, 'a');
  const GuideOffer refused = HandOffFiles::OfferGuideEvent(folder / "other.txt", longFolder);
  EXPECT_EQ(refused.outcome, GuideOffer::Outcome::Refused);
  EXPECT_EQ(refused.message, "FOLDER LONGER THAN 199 CHARACTERS");
  EXPECT_EQ(folder.Read("other.txt"), "<missing>");
  longFolder.event.folder = "D:\\Rec\nC:\\";
  EXPECT_EQ(HandOffFiles::OfferGuideEvent(folder / "other.txt", longFolder).outcome,
            GuideOffer::Outcome::Refused);
}

TEST(HandOffFiles, DamagedGuideEventIsDeletedAndReported) {
  TestFolder folder;
  const auto file = folder / "guideevent.txt";
  for (const char* damaged : {"41\n1\n2 1 7 2008 33 7 1 19 59 21\n",       // cut short
                              "41\n2\n2 1 7 2008 33 7 1 19 59 21 2 0 0 0\nD:\\\n",  // wrong count
                              "0\n1\n2 1 7 2008 33 7 1 19 59 21 2 0 0 0\nD:\\\n",   // no request
                              "41\n1\n2 1 7 2008 33 7 1 19 59 21 2 0 0 0\nD:\\\n"
                              "2 1 7 2008 33 7 1 22 0 23 0 0 0 0\nD:\\\n",          // two events
                              ""}) {
    folder.Write("guideevent.txt", damaged);
    const auto read = HandOffFiles::TakeGuideEvent(file);
    EXPECT_TRUE(read.present) << damaged;
    EXPECT_FALSE(read.data) << damaged;
    EXPECT_EQ(folder.Read("guideevent.txt"), "<missing>");
  }
}

TEST(HandOffFiles, GuideAnswerAndGivingUp) {
  TestFolder folder;
  const auto answerFile = folder / "guideanswer.txt";
  ASSERT_TRUE(HandOffFiles::WriteGuideAnswer(answerFile, {41, "START TIME BETWEEN EXISTING TIME"}));
  EXPECT_EQ(folder.Read("guideanswer.txt"), "41\nSTART TIME BETWEEN EXISTING TIME\n");
  const auto answer = HandOffFiles::TakeGuideAnswer(answerFile);
  ASSERT_TRUE(answer.data);
  EXPECT_EQ(answer.data->request, 41);
  EXPECT_FALSE(answer.data->IsAccepted());
  EXPECT_EQ(folder.Read("guideanswer.txt"), "<missing>");
  EXPECT_TRUE(HandOffFiles::ParseGuideAnswer("7\nOK\n")->IsAccepted());
  EXPECT_TRUE(HandOffFiles::ParseGuideAnswer("7\r\nOK\r\r\n")->IsAccepted());
  EXPECT_FALSE(HandOffFiles::ParseGuideAnswer("7\n"));
  EXPECT_FALSE(HandOffFiles::ParseGuideAnswer("x\nOK\n"));

  // No answer: an event still waiting is taken back, and nothing was scheduled.
  const auto eventFile = folder / "guideevent.txt";
  ASSERT_EQ(HandOffFiles::OfferGuideEvent(eventFile, {41, GuideRecording()}).outcome,
            GuideOffer::Outcome::Written);
  EXPECT_EQ(HandOffFiles::GiveUpGuideEvent(eventFile),
            "THE SCHEDULER DID NOT ANSWER: NOTHING WAS SCHEDULED");
  EXPECT_EQ(folder.Read("guideevent.txt"), "<missing>");
  // The scheduler took it but its answer did not come: the outcome is unknown.
  EXPECT_EQ(HandOffFiles::GiveUpGuideEvent(eventFile),
            "THE SCHEDULER DID NOT ANSWER IN TIME: SEE ITS LIST WHETHER THE EVENT WAS ADDED");
  EXPECT_EQ(HandOffFiles::kGuideAnswerSeconds, 20);
  EXPECT_EQ(HandOffFiles::NextGuideRequest(0), 1);
  EXPECT_EQ(HandOffFiles::NextGuideRequest(41), 42);
  EXPECT_EQ(HandOffFiles::NextGuideRequest(32767), 1);
}
