#include "scheduler/SchedulerEngine.h"

#include <gtest/gtest.h>

#include <memory>

#include "scheduler/testing/FakeSchedulerActions.h"
#include "core/schedule/EventEnd.h"
#include "core/schedule/ScheduleFile.h"
#include "core/testing/TestFolder.h"

namespace {

const char* kViewer = "Telvantis- Hauppauge WinTV 885";
const char* kRecorder = "Silent Record- Hauppauge WinTV 885";
const char* kRecorderTs = "Silent Record TS- Hauppauge WinTV 885";

// The warnings of the "SCHEDULER EVENT" box, in the system's words.
const char* kSilentViewerWarning =
    "SILENT RECORD EVENT: Telvantis Is Open-\nAny Recording/Timeshifting Will Be Stopped\n"
    "and Telvantis Will Be Closed In 15 Seconds";
const char* kSilentRecorderWarning =
    "SILENT RECORD EVENT: Silent Record\nIs Recording- Any Recording Will\n"
    "Be Stopped And Closed In 20 Seconds";
const char* kLiveRecorderWarning =
    "SCHEDULER EVENT: Record-Silent\nIs Recording- Any Recording Will\n"
    "Be Stopped And Closed In 10 Seconds";
const char* kLiveViewerWarning =
    "SCHEDULER EVENT: Telvantis Is Open-\nAny Recording/Timeshifting Will Be\n"
    "Stopped In 10 Seconds";

// Monday 3 June 2030, 20:00-21:00 on 33 7 1.
ScheduleEvent At20(EventType type, EventFrequency frequency = EventFrequency::Once) {
  ScheduleEvent e;
  e.dayOfWeek = 2; e.month = 6; e.day = 3; e.year = 2030;
  e.channel1 = 33; e.channel2 = 7; e.channel3 = 1;
  e.startHour = 20; e.endHour = 21;
  e.type = type; e.frequency = frequency;
  e.folder = "D:\\Rec\\";
  return e;
}

CivilTime Time(int hour, int minute, int second, int day = 3) { return {2030, 6, day, hour, minute, second}; }

class SchedulerEngineTest : public ::testing::Test {
 protected:
  void Start(const CivilTime& at, std::vector<ScheduleEvent> events,
             SchedulerVariant variant = SchedulerVariant::DvrMs, int delay = 0) {
    list = ScheduleList(std::move(events));
    const auto model = FindTuningModel(17, std::nullopt);
    auto settings = SchedulerEngine::Settings::For(*model, variant, delay);
    fake = std::make_unique<FakeSchedulerActions>(settings.viewerTitle, settings.recorderTitle, &files);
    engine = std::make_unique<SchedulerEngine>(list, channels, settings, *fake);
    clock = std::make_unique<SimulatedClock>(at, *engine, *fake);
    engine->Arm(at);
  }

  // Records of one kind as "h:m:s target detail" lines, for exact comparisons.
  std::vector<std::string> Seen(const std::string& what) const {
    std::vector<std::string> lines;
    for (const auto& r : fake->Of(what))
      lines.push_back(std::to_string(r.at.hour) + ":" + std::to_string(r.at.minute) + ":" +
                      std::to_string(r.at.second) + " " + r.target + " " + r.detail);
    return lines;
  }

  TestFolder folder;
  SchedulerFolder files{folder.Path()};
  std::vector<ChannelEntry> channels = {{"KAAA", 20, 2, 1}, {"KBBB", 33, 7, 2}, {"KCCC", 33, 7, -1}};
  ScheduleList list;
  std::unique_ptr<FakeSchedulerActions> fake;
  std::unique_ptr<SchedulerEngine> engine;
  std::unique_ptr<SimulatedClock> clock;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(SchedulerEngineTest, SilentEventWithTheViewerOpen) {
  Start(Time(19, 58, 0), {At20(EventType::RecordSilent)});
  fake->viewerRunning = fake->viewerWindow = true;
  clock->RunFor(150);
  EXPECT_EQ(Seen("warn"), Lines{std::string("19:59:40 SCHEDULER EVENT ") + kSilentViewerWarning});
  EXPECT_EQ(Seen("close"), (Lines{"19:59:55 SCHEDULER EVENT ", std::string("19:59:55 ") + kViewer + " "}));
  EXPECT_EQ(Seen("file"), Lines{"19:59:55 silentevent.txt 33 7 1 21 0 0\nD:\\Rec\\\n"});
  EXPECT_EQ(Seen("start"), Lines{"19:59:59 TelvantisSR.exe /LOCKTELVANTISSR [noactivate]"});
  // The one-time event is gone, the file with it, and the wake-up task is disabled.
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(folder.Read("schedule.txt"), "<missing>");
  EXPECT_EQ(Seen("wake"), (Lines{"19:58:1 on 2030-6-3 19:55", "19:59:59 off 2030-6-3 19:55"}));
  EXPECT_TRUE(fake->timers.empty());
}

TEST_F(SchedulerEngineTest, SilentEventWhileAUsersRecordingRuns) {
  Start(Time(19, 59, 0), {At20(EventType::RecordSilent)}, SchedulerVariant::DvrMs, 2);
  engine->OnRecorderReport(1, 0);
  fake->recorderWindow = true;
  fake->recorderClosePolls = 5;  // the old recorder needs a moment to close
  long long goneAt = -1, startedAt = -1;
  fake->onRecorderClosed = [&] { goneAt = clock->Milliseconds(); };
  fake->onStart = [&](const std::string&) { startedAt = clock->Milliseconds(); };
  clock->RunFor(90);
  EXPECT_EQ(Seen("warn"), Lines{std::string("19:59:40 SCHEDULER EVENT ") + kSilentRecorderWarning});
  EXPECT_EQ(Seen("close"), (Lines{"19:59:55 SCHEDULER EVENT ", std::string("19:59:59 ") + kRecorder + " "}));
  EXPECT_EQ(Seen("start"), Lines{"20:0:2 TelvantisSR.exe /LOCKTELVANTISSR [noactivate]"});
  // The new recorder starts delay x 4 ticks of 250 ms after the old window is gone.
  ASSERT_GE(goneAt, 0);
  EXPECT_EQ(startedAt - goneAt, 2 * 4 * 250);
  EXPECT_TRUE(list.IsEmpty());
}

TEST_F(SchedulerEngineTest, SilentRecorderWithDelayZeroStartsOnTheTickTheWindowIsGone) {
  Start(Time(19, 59, 0), {At20(EventType::RecordSilent)});
  engine->OnRecorderReport(1, 1);  // a scheduled recording: no warning
  fake->recorderWindow = true;
  long long goneAt = -1, startedAt = -1;
  fake->onRecorderClosed = [&] { goneAt = clock->Milliseconds(); };
  fake->onStart = [&](const std::string&) { startedAt = clock->Milliseconds(); };
  clock->RunFor(90);
  EXPECT_TRUE(fake->Of("warn").empty());
  EXPECT_EQ(startedAt, goneAt);
  EXPECT_EQ(fake->Of("start").size(), 1u);
}

TEST_F(SchedulerEngineTest, LiveRecordingWithTheViewerClosed) {
  const std::string config = "17\n10\n0\n1040\n582\n300\n600\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0";
  folder.Write("config.txt", config);
  folder.Write("channels.txt", "3\nKAAA 20 2 1\nKBBB 33 7 2\nKCCC 33 7 -1\n");
  Start(Time(19, 58, 0), {At20(EventType::RecordLive)});
  clock->RunFor(150);
  // Value 11 now names KCCC (index 2, minor -1 matches 1); nothing else changed.
  std::string expected = config;
  expected.replace(expected.find("\n0\n1\n1\n1\n1\n"), 3, "\n2\n");
  EXPECT_EQ(folder.Read("config.txt"), expected);
  EXPECT_EQ(Seen("start"), Lines{"19:59:50 Telvantis.exe  [noactivate]"});
  EXPECT_EQ(Seen("file"), Lines{"19:59:50 reclive.txt 20 0 21 0 0 "});
  EXPECT_EQ(Seen("post"), Lines{std::string("20:0:0 ") + kViewer + " TELVANTISSCHED START RECORD"});
  EXPECT_EQ(folder.Read("scheduler.txt"),
            "OPEN TELVANTIS: 6/3/2030-19:59:50\nRECORD LIVE: 6/3/2030-20:0:0\n\n");
  EXPECT_TRUE(fake->Of("warn").empty());
}

TEST_F(SchedulerEngineTest, HandOffWithoutChannelMatchOrConfigLeavesConfigAlone) {
  folder.Write("channels.txt", "1\nKAAA 20 2 1\n");
  folder.Write("config.txt", "17\n1\n2");
  Start(Time(19, 59, 0), {At20(EventType::RecordLive)});
  fake->viewerStarts = false;
  clock->RunFor(90);
  EXPECT_TRUE(fake->Of("channel").empty());
  EXPECT_EQ(folder.Read("config.txt"), "17\n1\n2");
  EXPECT_EQ(folder.Read("scheduler.txt"),
            "CANT OPEN: 6/3/2030-19:59:50\nRECORD LIVE: 6/3/2030-20:0:0\n\n");
  // A START RECORD to a viewer that is not there is lost; the event still finishes.
  EXPECT_TRUE(list.IsEmpty());
}

TEST_F(SchedulerEngineTest, WatchLiveWithTheViewerOpenPostsOnlyTheChannelChange) {
  Start(Time(19, 59, 0), {At20(EventType::WatchLive, EventFrequency::Weekly)});
  fake->viewerRunning = fake->viewerWindow = true;
  clock->RunFor(90);
  EXPECT_EQ(Seen("warn"), Lines{std::string("19:59:40 SCHEDULER EVENT ") + kLiveViewerWarning});
  EXPECT_EQ(Seen("post"), Lines{std::string("19:59:50 ") + kViewer + " TELVANTISSCHED CHANGE CHANNEL"});
  EXPECT_TRUE(fake->Of("file").empty());
  EXPECT_EQ(folder.Read("scheduler.txt"),
            "TELVANTIS ALREADY OPEN\nWATCH LIVE: 6/3/2030-20:0:0\n\n");
  // The weekly event moved on a week and the engine waits for it.
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list.At(0).day, 10);
  EXPECT_EQ(engine->NextEventTime(), Time(20, 0, 0, 10));
  EXPECT_TRUE(fake->timers.count(SchedulerTimer::EventClock));
}

TEST_F(SchedulerEngineTest, TheHandOffWaitsForAClosingRecorderAndTheStartCountsFromThere) {
  folder.Write("channels.txt", "1\nKBBB 33 7 1\n");
  folder.Write("config.txt", "17\n1\n2");
  Start(Time(19, 59, 0), {At20(EventType::RecordLive)});
  engine->OnRecorderReport(1, 0);
  fake->recorderWindow = true;
  fake->recorderClosePolls = 30;  // the recorder's window goes about 3 s after WM_CLOSE
  clock->RunFor(20);
  // The engine does not block during the wait: a report and a shutdown
  // request that come meanwhile are handled at once.
  engine->OnShutdownRequest();
  EXPECT_TRUE(fake->timers.count(SchedulerTimer::Shutdown));
  clock->RunFor(70);
  EXPECT_EQ(Seen("close"), (Lines{std::string("19:59:50 ") + kRecorder + " ", "19:59:53 SCHEDULER EVENT "}));
  // The viewer starts once the window is gone, and gets its 10 s from then.
  EXPECT_EQ(Seen("start"), Lines{"19:59:53 Telvantis.exe  [noactivate]"});
  EXPECT_EQ(Seen("file"), Lines{"19:59:53 reclive.txt 20 0 21 0 0 "});
  EXPECT_EQ(Seen("post"), Lines{std::string("20:0:3 ") + kViewer + " TELVANTISSCHED START RECORD"});
  EXPECT_EQ(folder.Read("scheduler.txt"),
            "OPEN TELVANTIS: 6/3/2030-19:59:53\nRECORD LIVE: 6/3/2030-20:0:3\n\n");
  EXPECT_FALSE(fake->timers.count(SchedulerTimer::RecorderClose));
}

TEST_F(SchedulerEngineTest, TheHandOffGivesUpWaitingForARecorderAfterTenSeconds) {
  Start(Time(19, 59, 0), {At20(EventType::Timeshift)}, SchedulerVariant::TransportStream);
  engine->OnRecorderReport(1, 0);
  fake->recorderWindow = true;
  fake->recorderClosePolls = 1'000'000'000;  // never closes
  clock->RunFor(90);
  EXPECT_EQ(Seen("warn"), Lines{std::string("19:59:40 SCHEDULER EVENT ") + kLiveRecorderWarning});
  // Checked every 100 ms for 10 s, not a million times at once.
  EXPECT_GE(fake->recorderPolls, 95);
  EXPECT_LE(fake->recorderPolls, 101);
  EXPECT_EQ(Seen("close"), (Lines{std::string("19:59:50 ") + kRecorderTs + " ", "20:0:0 SCHEDULER EVENT "}));
  EXPECT_EQ(Seen("start"), Lines{"20:0:0 Telvantis.exe  [noactivate]"});
  EXPECT_EQ(Seen("post"), Lines{std::string("20:0:10 ") + kViewer + " TELVANTISSCHED TIMESHIFT"});
}

TEST_F(SchedulerEngineTest, AnEventRemovedDuringTheWaitIsNotHandedOver) {
  Start(Time(19, 59, 0), {At20(EventType::RecordLive)});
  engine->OnRecorderReport(1, 0);
  fake->recorderWindow = true;
  fake->recorderClosePolls = 50;
  clock->RunFor(52);
  ASSERT_EQ(Seen("close"), Lines{std::string("19:59:50 ") + kRecorder + " "});
  list.Remove(0);
  engine->Arm(clock->Now());
  clock->RunFor(60);
  EXPECT_TRUE(fake->Of("start").empty());
  EXPECT_TRUE(fake->Of("file").empty());
  EXPECT_TRUE(fake->Of("post").empty());
}

TEST_F(SchedulerEngineTest, ShutdownRunsOnce240SecondsAfterTheRequest) {
  Start(Time(12, 0, 0), {});
  clock->RunFor(10);
  engine->OnShutdownRequest();
  clock->RunFor(239);
  EXPECT_TRUE(fake->Of("start").empty());
  clock->RunFor(1);
  EXPECT_EQ(Seen("start"), Lines{
      "12:4:10 c:\\windows\\system32\\shutdown.exe -s -t 60 -c \"TO ABORT SHUTDOWN, TYPE IN RUN  shutdown -a\" [show]"});
  clock->RunFor(600);
  EXPECT_EQ(fake->Of("start").size(), 1u);
}

TEST_F(SchedulerEngineTest, EmptyListAlignsButArmsNothing) {
  Start(Time(12, 0, 0), {});
  clock->RunFor(5);
  EXPECT_TRUE(fake->timers.empty());
  EXPECT_TRUE(fake->Of("wake").empty());
  EXPECT_EQ(fake->Of("hide").size(), 1u);
  EXPECT_EQ(fake->debugLines, 0);
}

TEST_F(SchedulerEngineTest, MissedSecondsStillFireEachMomentOnce) {
  // The tick of 19:59:59 never comes (the machine was busy from :57 to :01).
  Start(Time(19, 59, 0), {At20(EventType::RecordSilent)});
  clock->RunFor(57);
  clock->Jump(4);
  clock->RunFor(30);
  EXPECT_EQ(Seen("start"), Lines{"20:0:1 TelvantisSR.exe /LOCKTELVANTISSR [noactivate]"});
  EXPECT_EQ(fake->Of("file").size(), 1u);
  // A live event whose scheduler starts 3 seconds before: the viewer
  // still gets its 10 seconds before the record command.
  Start(Time(19, 59, 57), {At20(EventType::RecordLive)});
  clock->RunFor(30);
  // The late warning takes the tick of 19:59:59.
  EXPECT_EQ(Seen("start"), Lines{"20:0:0 Telvantis.exe  [noactivate]"});
  EXPECT_EQ(Seen("post"), Lines{std::string("20:0:10 ") + kViewer + " TELVANTISSCHED START RECORD"});
}

TEST_F(SchedulerEngineTest, AStuckEventDoesNotBlockLaterEvents) {
  // The weekly event cannot move on: next Monday 20:30 is taken.
  ScheduleEvent weekly = At20(EventType::WatchLive, EventFrequency::Weekly);
  ScheduleEvent taken = At20(EventType::RecordSilent);
  taken.day = 10; taken.startMinute = 30; taken.endHour = 22;
  ScheduleEvent tuesday = At20(EventType::RecordLive);
  tuesday.day = 4; tuesday.dayOfWeek = 3;
  Start(Time(19, 59, 0), {weekly, tuesday, taken});
  fake->viewerRunning = fake->viewerWindow = true;
  clock->RunFor(120);
  EXPECT_EQ(Seen("message"), Lines{"20:0:0  END TIME BETWEEN EXISTING TIME"});
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.At(0), weekly);  // kept as it was
  // It stays in the schedule, is not fired again, and Tuesday's event fires.
  clock->RunFor(24 * 3600);
  EXPECT_EQ(fake->Of("log").size(), 4u);  // already open and WATCH LIVE, already open and RECORD LIVE
  EXPECT_EQ(Seen("post").back(), std::string("20:0:0 ") + kViewer + " TELVANTISSCHED START RECORD");
  EXPECT_EQ(list.At(0), weekly);
  EXPECT_EQ(engine->NextEventTime(), Time(20, 30, 0, 10));
  // Once the event in the way has run, the weekly event takes its next free week.
  clock->RunFor(7 * 24 * 3600);
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list.At(0).day, 17);
  EXPECT_EQ(list.At(0).startHour, 20);
  EXPECT_EQ(Seen("message").size(), 1u);
}

TEST_F(SchedulerEngineTest, AnEventMissedWhileAsleepIsLoggedAndPassedOver) {
  ScheduleEvent later = At20(EventType::WatchLive);
  later.startHour = 22; later.endHour = 23;
  ScheduleEvent daily = At20(EventType::Timeshift, EventFrequency::DailyWeekdays);
  daily.startHour = 18; daily.endHour = 19;
  Start(Time(17, 59, 0), {daily, At20(EventType::RecordLive), later});
  clock->RunFor(10);
  clock->Jump(3 * 3600 + 60);  // asleep from 17:59:10 to 21:00:10
  clock->RunFor(2 * 3600);
  EXPECT_EQ(Seen("log"), (Lines{"21:0:10  MISSED EVENT: 6/3/2030-18:0:0\n\n",
                                "21:0:10  MISSED EVENT: 6/3/2030-20:0:0\n\n",
                                "21:59:50  OPEN TELVANTIS: 6/3/2030-21:59:50\n",
                                "22:0:0  WATCH LIVE: 6/3/2030-22:0:0\n\n"}));
  // The one-time event stays in the list and the file; the daily one moved on.
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.At(0), At20(EventType::RecordLive));
  EXPECT_EQ(list.At(1).day, 4);
  EXPECT_EQ(list.At(1).startHour, 18);
  EXPECT_EQ(ScheduleFile::Read(folder / "schedule.txt")->events, list.Events());
  EXPECT_EQ(engine->DueEvent(clock->Now()), 1u);
}

TEST_F(SchedulerEngineTest, RecorderReportsAndEventFinishedFromTheWindow) {
  Start(Time(19, 0, 0), {At20(EventType::RecordLive, EventFrequency::DailyWeekdays)});
  EXPECT_FALSE(engine->OnRecorderReport(0, 0));
  EXPECT_FALSE(engine->OnRecorderReport(2, 0));
  EXPECT_FALSE(engine->IsRecorderRecording());
  EXPECT_TRUE(engine->OnRecorderReport(1, 1));
  EXPECT_TRUE(engine->IsRecorderScheduled());
  EXPECT_TRUE(engine->OnRecorderReport(0, 1));
  EXPECT_FALSE(engine->IsRecorderRecording());
  fake->viewerRunning = fake->viewerWindow = true;
  engine->EventFinished(true, true, Time(19, 0, 1));
  EXPECT_EQ(Seen("close"), Lines{std::string("19:0:0 ") + kViewer + " "});
  EXPECT_EQ(list.At(0).day, 4);
  EXPECT_EQ(ScheduleFile::Read(folder / "schedule.txt")->events.at(0).day, 4);
}

TEST_F(SchedulerEngineTest, AHungRecorderIsGivenUpAfterAMinuteAndTheNextEventStillRuns) {
  ScheduleEvent later = At20(EventType::WatchLive);
  later.startHour = later.endHour = 22;
  Start(Time(19, 59, 0), {At20(EventType::RecordSilent), later});
  engine->OnRecorderReport(1, 0);
  fake->recorderWindow = true;
  fake->recorderClosePolls = 1'000'000'000;  // never closes
  clock->RunFor(3 * 3600);
  // No recorder start for 20:00; the log says why, a minute after it was told to close.
  EXPECT_TRUE(fake->Of("start").size() == 1u && fake->Of("start")[0].target == "Telvantis.exe");
  const std::string log = folder.Read("scheduler.txt");
  EXPECT_NE(log.find("SILENT RECORD NOT STARTED, THE RECORDER DID NOT CLOSE: 6/3/2030-20:0:59\n\n"),
            std::string::npos) << log;
  // The hung recorder still counts as recording: the hand-over waits its 10 s
  // for it again, and the start follows 10 s after that.
  EXPECT_NE(log.find("OPEN TELVANTIS: 6/3/2030-22:0:0\nWATCH LIVE: 6/3/2030-22:0:10"), std::string::npos) << log;
  EXPECT_TRUE(list.IsEmpty());
}

// Record-live events on a day, by start and end.
ScheduleEvent LiveOn(int month, int day, int startHour, int startMinute, int endHour, int endMinute,
                     EventFrequency frequency = EventFrequency::Once) {
  ScheduleEvent e = At20(EventType::RecordLive, frequency);
  e.startHour = startHour;
  e.startMinute = startMinute;
  e.endHour = endHour;
  e.endMinute = endMinute;
  return WithStartDate(e, CivilTime{2030, month, day, 0, 0, 0});
}

TEST_F(SchedulerEngineTest, DaylightSavingChangesNeitherLoseNorRepeatEvents) {
  const auto starts = [&] {
    int n = 0;
    for (const auto& r : fake->Of("post")) n += r.detail == "TELVANTISSCHED START RECORD";
    return n;
  };
  // Spring: 01:59:59 is followed by 03:00:00. The event inside the skipped
  // hour starts when the clock comes back, the others at their time.
  Start(CivilTime{2030, 3, 10, 1, 0, 0},
        {LiveOn(3, 10, 1, 50, 2, 10), LiveOn(3, 10, 2, 30, 3, 5), LiveOn(3, 10, 3, 10, 3, 20)});
  clock->RunFor(3599);
  EXPECT_EQ(starts(), 1);
  clock->ShiftLocalClock(3600);
  clock->RunFor(2 * 3600);
  EXPECT_EQ(starts(), 3);
  // Three starts and two channel changes: the first hand-off started the viewer.
  EXPECT_EQ(Seen("post").size(), 5u);
  const std::string log = folder.Read("scheduler.txt");
  EXPECT_EQ(log.find("MISSED"), std::string::npos) << log;
  EXPECT_NE(log.find("RECORD LIVE: 3/10/2030-3:0:11"), std::string::npos) << log;
  EXPECT_TRUE(list.IsEmpty());

  // Autumn: 01:59:59 is followed by 01:00:00 again. Nothing of the first
  // pass runs a second time; the weekly event waits for next week.
  Start(CivilTime{2030, 11, 3, 0, 55, 0},
        {LiveOn(11, 3, 1, 20, 1, 40, EventFrequency::Weekly), LiveOn(11, 3, 1, 50, 2, 0),
         LiveOn(11, 3, 2, 10, 2, 20)});
  clock->RunFor(3899);
  EXPECT_EQ(starts(), 2);
  clock->ShiftLocalClock(-3600);
  clock->RunFor(2 * 3600);
  EXPECT_EQ(starts(), 3);
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list.At(0).day, 10);
}

TEST_F(SchedulerEngineTest, TheClockSkipsAnEventsStartAndEnd) {
  // Spring: 01:59:59 is followed by 03:00:00. 02:10-02:40 and 02:40-03:00
  // lie wholly in the skipped hour: logged with their lines, never started.
  // 02:45-03:20 starts once when the clock is back and its recorder stops at
  // 03:20 the same day; 03:20 fires on time.
  ScheduleEvent skipped = LiveOn(3, 10, 2, 10, 2, 40, EventFrequency::Weekly);
  skipped.type = EventType::RecordSilent;
  ScheduleEvent late = LiveOn(3, 10, 2, 45, 3, 20);
  late.type = EventType::RecordSilent;
  ScheduleEvent watch = LiveOn(3, 10, 3, 20, 3, 30);
  watch.type = EventType::WatchLive;
  Start(CivilTime{2030, 3, 10, 1, 59, 0}, {skipped, LiveOn(3, 10, 2, 40, 3, 0), late, watch});
  clock->RunFor(59);
  clock->ShiftLocalClock(3600);
  clock->RunFor(3600);
  EXPECT_EQ(Seen("log"), (Lines{"3:0:0  MISSED (CLOCK CHANGE): 1 3 10 2030 33 7 1 2 10 2 40 1 2 0\n\n",
                                "3:0:0  MISSED (CLOCK CHANGE): 1 3 10 2030 33 7 1 2 40 3 0 0 0 0\n\n",
                                "3:19:50  OPEN TELVANTIS: 3/10/2030-3:19:50\n",
                                "3:20:0  WATCH LIVE: 3/10/2030-3:20:0\n\n"}));
  EXPECT_EQ(Seen("file"), Lines{"3:0:1 silentevent.txt 33 7 1 3 20 0\nD:\\Rec\\\n"});
  EXPECT_EQ(Seen("start"), (Lines{"3:0:5 TelvantisSR.exe /LOCKTELVANTISSR [noactivate]",
                                  "3:19:50 Telvantis.exe  [noactivate]"}));
  EXPECT_TRUE(Seen("post").empty());
  // The recorder finds its end from the hand-off: today's 03:20, not tomorrow's.
  EXPECT_EQ(EventEndAfterHandOff(fake->Of("file").at(0).at, 3, 20), (CivilTime{2030, 3, 10, 3, 20, 0}));
  // The weekly event moved on a week; the one-time one stays, passed over.
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.At(0), LiveOn(3, 10, 2, 40, 3, 0));
  EXPECT_EQ(list.At(1), WithStartDate(skipped, CivilTime{2030, 3, 17, 0, 0, 0}));
  EXPECT_EQ(engine->DueEvent(clock->Now()), 1u);
}

TEST_F(SchedulerEngineTest, AMissedEventDoesNotRunInTheHourThatRepeats) {
  // Autumn: asleep over 01:10-01:30, logged as missed; when 01:59:59 is
  // followed by 01:00:00 again, its time comes round a second time. A later
  // event keeps the event clock running.
  ScheduleEvent later = LiveOn(11, 3, 5, 0, 5, 10);
  later.type = EventType::WatchLive;
  Start(CivilTime{2030, 11, 3, 1, 0, 0}, {LiveOn(11, 3, 1, 10, 1, 30), later});
  clock->RunFor(300);
  clock->Jump(40 * 60);
  clock->RunFor(14 * 60 + 59);
  ASSERT_EQ(clock->Now(), (CivilTime{2030, 11, 3, 1, 59, 59}));
  clock->ShiftLocalClock(-3600);
  clock->RunFor(2 * 3600);
  EXPECT_EQ(Seen("log"), Lines{"1:45:0  MISSED EVENT: 11/3/2030-1:10:0\n\n"});
  EXPECT_TRUE(fake->Of("post").empty());
  EXPECT_TRUE(fake->Of("start").empty());
}
