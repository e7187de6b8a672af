// A simulated year of the scheduler, in both builds (stream-buffer and
// transport-stream recorder): 47 events of every type, weekly, on weekdays
// and once, several thousand occurrences, with the viewer sometimes open and
// sometimes closed. Summer time begins (02:00 becomes 03:00) and ends (02:00
// becomes 01:00 again) on the Sundays where events lie in that hour; the
// user sets the clock forward now and then, the machine sleeps a few times,
// and the clock ticks come early, late, a second back or not at all for
// seconds. Every occurrence must fire exactly once or be logged as missed
// (with the reason), every recording must stop at its event's end, and the
// viewer must be on the event's channel when it fires.
//
// The clock runs second by second only near an event or a change of the
// world, and jumps between them. TELVANTIS_YEAR_DETAILS=1 prints each
// occurrence that did not fire on time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "core/protocol/EventLog.h"
#include "core/protocol/HandOffFiles.h"
#include "core/schedule/EventEnd.h"
#include "core/schedule/ScheduleFile.h"
#include "core/testing/TestFolder.h"
#include "core/time/TimeTexts.h"
#include "scheduler/EventMoments.h"
#include "scheduler/SchedulerEngine.h"
#include "scheduler/testing/FakeSchedulerActions.h"

namespace {

const CivilTime kYearStart{2031, 1, 1, 0, 0, 0};  // a Wednesday
const CivilTime kYearEnd{2032, 1, 1, 0, 0, 0};
const CivilTime kSpringForward{2031, 3, 9, 2, 0, 0};  // a Sunday: 02:00 becomes 03:00
const CivilTime kFallBack{2031, 11, 2, 2, 0, 0};      // a Sunday: 02:00 becomes 01:00
constexpr int kSlots = 47;
constexpr long long kLeadSeconds = 45;  // the clock runs second by second from here
constexpr int kTouchingSlot = 20;       // ends when the next slot starts

const std::vector<ChannelEntry> kChannels = {
    {"KAAA", 20, 2, 1}, {"KBBB", 33, 7, -1}, {"KCCC", 33, 7, 2}, {"KDDD", 41, 9, 3}};

CivilTime DateOf(const CivilTime& t) { return {t.year, t.month, t.day, 0, 0, 0}; }

// The first day from kYearStart with this day of the week (1 = Sunday).
CivilTime FirstWeekday(int dayOfWeek) {
  CivilTime day = kYearStart;
  while (DayOfWeek(day) != dayOfWeek) day = AddDays(day, 1);
  return day;
}

// Each event has its own half hour of the day, so occurrences never overlap;
// a few touch the next one. Slots 2 to 5 lie on Sundays around 02:00, where
// the clock changes: 01:40-02:05 ends in the skipped hour, 02:10-02:35 lies
// wholly in it, 02:40-03:10 starts in it and ends after it.
std::vector<ScheduleEvent> YearEvents() {
  std::vector<ScheduleEvent> events;
  for (int i = 0; i < kSlots; ++i) {
    ScheduleEvent e;
    const int start = 10 + i * 30;
    int length = 5 + (i * 7) % 24;
    EventType type = *EventTypeFromCode(i % 4);
    EventFrequency frequency = i % 10 == 1 ? EventFrequency::DailyWeekdays : EventFrequency::Weekly;
    int dayOfWeek = 2 + i % 5;  // Monday to Friday
    if (i == 7 || i == 27) frequency = EventFrequency::Once;
    if (i >= 2 && i <= 5) dayOfWeek = 1;
    if (i == 2) type = EventType::Timeshift;
    if (i == 3) { type = EventType::RecordLive; length = 25; }
    if (i == 4) { type = EventType::RecordSilent; length = 25; }
    if (i == 5) { type = EventType::RecordLive; length = 30; }
    if (i == 12 || i == 13) length = 30;  // back-to-back recordings
    if (i == kTouchingSlot) { type = EventType::RecordLive; length = 30; }
    if (i == 30) { type = EventType::WatchLive; length = 0; }
    if (i == 46) length = 55;  // 23:10-00:05, across midnight
    const ChannelEntry& channel = kChannels[static_cast<std::size_t>(i % 4)];
    e.channel1 = channel.physical;
    e.channel2 = channel.major;
    e.channel3 = DisplayedMinor(channel.minor);
    e.startHour = start / 60;
    e.startMinute = start % 60;
    e.endHour = (start + length) / 60 % 24;
    e.endMinute = (start + length) % 60;
    e.type = type;
    e.frequency = frequency;
    e.whenDone = type == EventType::RecordLive || type == EventType::RecordSilent
                     ? *WhenDoneFromCode(i % 2)
                     : WhenDone::Close;
    e.folder = "D:\\Year\\" + std::to_string(i) + "\\";
    CivilTime first = frequency == EventFrequency::DailyWeekdays ? AddDays(kYearStart, 1)  // Thursday
                                                                 : FirstWeekday(dayOfWeek);
    if (frequency == EventFrequency::Once) first = AddDays(kYearStart, i * 9);
    events.push_back(WithStartDate(e, first));
  }
  return events;
}

struct Occurrence {
  ScheduleEvent event;
  int slot = 0;
  CivilTime start;
  CivilTime end;
  CivilTime deadline;
  int fired = 0;
  int missed = 0;
  bool missedByClockChange = false;
};

std::vector<Occurrence> ExpectedOccurrences(const std::vector<ScheduleEvent>& events) {
  std::vector<Occurrence> expected;
  for (std::size_t i = 0; i < events.size(); ++i) {
    ScheduleEvent e = events[i];
    while (EventStart(e) < kYearEnd) {
      expected.push_back(Occurrence{e, static_cast<int>(i), EventStart(e), IntervalOf(e).end,
                                    EventMoments(e).Deadline()});
      if (e.frequency == EventFrequency::Once) break;
      e = NextOccurrence(e);
    }
  }
  std::sort(expected.begin(), expected.end(),
            [](const Occurrence& a, const Occurrence& b) { return a.start < b.start; });
  return expected;
}

// The event's line of schedule.txt, written out here from its fields.
std::string LineOf(const ScheduleEvent& e) {
  std::ostringstream out;
  out << e.dayOfWeek << ' ' << e.month << ' ' << e.day << ' ' << e.year << ' ' << e.channel1 << ' '
      << e.channel2 << ' ' << e.channel3 << ' ' << e.startHour << ' ' << e.startMinute << ' '
      << e.endHour << ' ' << e.endMinute << ' ' << static_cast<int>(e.type) << ' '
      << static_cast<int>(e.frequency) << ' ' << static_cast<int>(e.whenDone);
  return out.str();
}

std::string Stamp(const CivilTime& t) {
  return std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year) + "-" +
         std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

// What the programs around the scheduler saw, in the order it happened.
struct Firing {
  CivilTime at;
  EventType type = EventType::RecordLive;
  int slot = -1;                    // silent: from the folder of silentevent.txt
  std::optional<CivilTime> stop;    // a recording's stop moment, as its program works it out
  std::string times;                // reclive.txt's start and end
  int viewerChannel = -1;           // the viewer's channel when a live event fired
  bool viewerWasOpen = false;       // CHANGE CHANNEL rather than a fresh start
};

Firing FiringAt(const CivilTime& at, EventType type) {
  Firing firing;
  firing.at = at;
  firing.type = type;
  return firing;
}

class SchedulerYear : public ::testing::TestWithParam<SchedulerVariant> {
 protected:
  void SetUp() override {
    WriteChannelFile(folder / "channels.txt", kChannels);
    folder.Write("config.txt",
                 "17\n10\n0\n1040\n582\n300\n600\n1\n0\n0\n0\n1\n1\n1\n1\n0\n1\n0\n0\n60\n15\n1\n1\n0");
    events = YearEvents();
    for (const ScheduleEvent& e : events) {
      const auto added = list.Add(e, kYearStart);
      ASSERT_TRUE(added.index) << added.message << " " << LineOf(e);
    }
    files.SaveSchedule(list);
    const auto model = FindTuningModel(17, std::nullopt);
    settings = SchedulerEngine::Settings::For(*model, GetParam(), 2);
    fake = std::make_unique<FakeSchedulerActions>(settings.viewerTitle, settings.recorderTitle, &files);
    engine = std::make_unique<SchedulerEngine>(list, ReadChannelFile(folder / "channels.txt").value(),
                                               settings, *fake);
    clock = std::make_unique<SimulatedClock>(kYearStart, *engine, *fake, 20310101);
    clock->jitter = {150, 250, 20, 3500, 10};
    PlanTheYear();
    WireTheWorld();
  }

  // The changes of the world: the user opens and closes the viewer, sets the
  // clock forward, the machine sleeps; one clock step lands between a
  // late event and the start of the one that touches it.
  void PlanTheYear() {
    std::mt19937 random(2031);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (CivilTime day = kYearStart; day < AddDays(kYearEnd, -1); day = AddDays(day, 1)) {
      if (pick(0, 1) == 0) continue;
      const CivilTime open = AddSeconds(day, pick(17 * 3600, 21 * 3600));
      agenda.emplace(open, [this] { OpenViewerByHand(); });
      agenda.emplace(AddSeconds(open, pick(1800, 9000)), [this] {
        fake->viewerRunning = fake->viewerWindow = false;
      });
    }
    // The viewer is open through the spring night.
    agenda.emplace(AddSeconds(kSpringForward, -3600 + 30), [this] { OpenViewerByHand(); });
    for (int n = 0; n < 12; ++n) {
      const int day = pick(20, 330);
      const CivilTime at = AddSeconds(AddDays(kYearStart, day), 10 * 60 + pick(0, 47) * 30 * 60 - pick(1, 600));
      if (DateOf(at) == DateOf(kSpringForward) || DateOf(at) == DateOf(kFallBack)) continue;
      steps.emplace(at, pick(10, 150) * 60LL);
    }
    for (int n = 0; n < 8; ++n) {
      const CivilTime at = AddSeconds(AddDays(kYearStart, pick(20, 330)), pick(0, 86399));
      if (DateOf(at) == DateOf(kSpringForward) || DateOf(at) == DateOf(kFallBack)) continue;
      sleeps.emplace(at, pick(10, 300) * 60LL);
    }
    // On a weekday in April, with the viewer open, the clock steps from just
    // before the touching event's start to 50 s before the next one starts.
    CivilTime touching = EventStart(events[kTouchingSlot]);
    while (touching < CivilTime{2031, 4, 1, 0, 0, 0}) touching = AddDays(touching, 7);
    const CivilTime next = AddSeconds(touching, 30 * 60);
    agenda.emplace(AddSeconds(touching, -90), [this] { OpenViewerByHand(); });
    steps.emplace(AddSeconds(touching, -60), SecondsBetween(AddSeconds(touching, -60), AddSeconds(next, -50)));
  }

  void OpenViewerByHand() {
    if (fake->viewerRunning) return;
    fake->viewerRunning = fake->viewerWindow = true;
    viewerChannel = ConfigValue11();
  }

  int ConfigValue11() const {
    std::istringstream in(folder.Read("config.txt"));
    int value = -1;
    for (int i = 0; i < 11; ++i)
      if (!(in >> value)) return -1;
    return value;
  }

  void WireTheWorld() {
    fake->onStart = [this](const std::string& exe) {
      if (exe == ProgramProtocol::kViewerExe) {
        viewerChannel = ConfigValue11();
        viewerWasOpen = false;
      } else if (exe == settings.names.recorderExe) {
        RecorderStarts();
      }
    };
    fake->onViewerMessage = [this](const std::string& message) { ViewerGets(message); };
    // WATCH LIVE posts nothing: its log entry is its firing.
    fake->onLog = [this](const std::string& entry) {
      if (entry.rfind("WATCH LIVE: ", 0) != 0) return;
      Firing firing = FiringAt(clock->Now(), EventType::WatchLive);
      firing.viewerChannel = viewerChannel;
      firing.viewerWasOpen = viewerWasOpen;
      firings.push_back(firing);
    };
    fake->onRecorderClosed = [this] {
      recorderStop.reset();
      later.push_back([this] { engine->OnRecorderReport(0, 1); });
    };
    clock->beforeTick = [this](const CivilTime&) { BeforeTick(); };
  }

  // The silent recorder reads silentevent.txt and works out its stop from
  // the file's time, as TelvantisSR does.
  void RecorderStarts() {
    const auto handOff = HandOffFiles::TakeSilentEvent(folder / "silentevent.txt");
    Firing firing = FiringAt(clock->Now(), EventType::RecordSilent);
    if (handOff.data) {
      const SilentEventHandOff& h = *handOff.data;
      const std::string number = h.folder.substr(std::string("D:\\Year\\").size());
      firing.slot = std::atoi(number.c_str());
      const auto written = std::find_if(fake->records.rbegin(), fake->records.rend(), [](const auto& r) {
        return r.what == "file" && r.target == "silentevent.txt";
      });
      firing.stop = EventEndAfterHandOff(written->at, h.endHour, h.endMinute);
      recorderStop = firing.stop;
    }
    firings.push_back(firing);
    fake->recorderWindow = true;
    fake->recorderClosePolls = 3;
    later.push_back([this] { engine->OnRecorderReport(1, 1); });
  }

  void ViewerGets(const std::string& message) {
    if (message == "TELVANTISSCHED CHANGE CHANNEL") {
      // The viewer's own choice of the event, from schedule.txt.
      viewerWasOpen = true;
      const auto schedule = ScheduleFile::Read(folder / "schedule.txt");
      if (!schedule) return;
      if (const auto index = FindEventToTune(schedule->events, clock->Now()))
        if (const auto channel = FindEventChannel(kChannels, schedule->events[*index]))
          viewerChannel = static_cast<int>(*channel);
      return;
    }
    Firing firing = FiringAt(clock->Now(), EventType::Timeshift);
    if (message == "TELVANTISSCHED START RECORD") {
      firing.type = EventType::RecordLive;
      const auto handOff = HandOffFiles::TakeRecLive(folder / "reclive.txt");
      if (handOff.data) {
        const RecLiveHandOff& r = *handOff.data;
        firing.times = std::to_string(r.startHour) + ":" + std::to_string(r.startMinute) + "-" +
                       std::to_string(r.endHour) + ":" + std::to_string(r.endMinute);
        firing.stop = EventEndForStart(clock->Now(), r.startHour, r.startMinute, r.endHour, r.endMinute);
        if (r.whenDone == WhenDone::Close) viewerCloses = firing.stop;
      }
    }
    firing.viewerChannel = viewerChannel;
    firing.viewerWasOpen = viewerWasOpen;
    firings.push_back(firing);
  }

  void BeforeTick() {
    const CivilTime now = clock->Now();
    if (!springDone && now >= kSpringForward) {
      springDone = true;
      clock->ShiftLocalClock(3600);
    } else if (springDone && !fallDone && now >= kFallBack) {
      fallDone = true;
      clock->ShiftLocalClock(-3600);
    }
    if (!steps.empty() && clock->Now() >= steps.begin()->first) {
      const long long seconds = steps.begin()->second;
      stepsDone.push_back(clock->Now());
      steps.erase(steps.begin());
      clock->ShiftLocalClock(seconds);
    }
    while (!agenda.empty() && clock->Now() >= agenda.begin()->first) {
      auto what = std::move(agenda.begin()->second);
      agenda.erase(agenda.begin());
      what();
    }
    if (recorderStop && clock->Now() >= *recorderStop && fake->recorderWindow && !fake->recorderClosing) {
      recorderStop.reset();
      fake->recorderWindow = false;
      files.AppendLog(EventLog::SilentRecordStopped(clock->Now()));
      engine->OnRecorderReport(0, 1);
    }
    if (viewerCloses && clock->Now() >= *viewerCloses) {
      viewerCloses.reset();
      fake->viewerRunning = fake->viewerWindow = false;
    }
    while (!later.empty()) {
      auto what = std::move(later.front());
      later.pop_front();
      what();
    }
  }

  // Second by second near an event or a change of the world, jumps between.
  void RunTheYear() {
    engine->Arm(kYearStart);
    while (clock->Now() < kYearEnd) {
      if (!sleeps.empty() && clock->Now() >= sleeps.begin()->first) {
        clock->Jump(sleeps.begin()->second);
        sleeps.erase(sleeps.begin());
      }
      CivilTime target = kYearEnd;
      if (const auto due = engine->DueEvent(clock->Now()))
        target = std::min(target, AddSeconds(EventStart(list.At(*due)), -kLeadSeconds));
      if (!springDone) target = std::min(target, kSpringForward);
      if (springDone && !fallDone) target = std::min(target, kFallBack);
      if (!steps.empty()) target = std::min(target, steps.begin()->first);
      if (!sleeps.empty()) target = std::min(target, sleeps.begin()->first);
      if (!agenda.empty()) target = std::min(target, agenda.begin()->first);
      if (recorderStop) target = std::min(target, *recorderStop);
      if (viewerCloses) target = std::min(target, *viewerCloses);
      if (later.empty() && SecondsBetween(clock->Now(), target) > 3) {
        clock->JumpTo(AddSeconds(target, -2));
        BeforeTick();
      }
      clock->RunFor(1);
    }
  }

  TestFolder folder;
  SchedulerFolder files{folder.Path()};
  std::vector<ScheduleEvent> events;
  ScheduleList list;
  SchedulerEngine::Settings settings;
  std::unique_ptr<FakeSchedulerActions> fake;
  std::unique_ptr<SchedulerEngine> engine;
  std::unique_ptr<SimulatedClock> clock;

  std::multimap<CivilTime, std::function<void()>, std::less<>> agenda;
  std::multimap<CivilTime, long long, std::less<>> steps;   // the user sets the clock forward
  std::multimap<CivilTime, long long, std::less<>> sleeps;  // the machine sleeps
  std::vector<CivilTime> stepsDone;
  std::deque<std::function<void()>> later;  // reports that arrive after the call that caused them
  bool springDone = false;
  bool fallDone = false;
  std::optional<CivilTime> recorderStop;
  std::optional<CivilTime> viewerCloses;
  int viewerChannel = -1;
  bool viewerWasOpen = false;
  std::vector<Firing> firings;
};

}  // namespace

TEST_P(SchedulerYear, EveryEventFiresOnceOrIsLoggedMissedAndStopsAtItsEnd) {
  RunTheYear();
  std::vector<Occurrence> expected = ExpectedOccurrences(events);

  // The scheduler's missed entries name the occurrence: the stamp of its
  // start, or its line of schedule.txt.
  std::map<std::string, std::size_t> byMissedText;
  for (std::size_t n = 0; n < expected.size(); ++n) {
    byMissedText["MISSED EVENT: " + Stamp(expected[n].start) + "\n\n"] = n;
    byMissedText["MISSED (CLOCK CHANGE): " + LineOf(expected[n].event) + "\n\n"] = n;
  }
  int unknownEntries = 0;
  for (const auto& r : fake->Of("log")) {
    if (r.detail.rfind("MISSED", 0) != 0 && r.detail.find("NOT STARTED") == std::string::npos) continue;
    const auto found = byMissedText.find(r.detail);
    if (found == byMissedText.end()) {
      ++unknownEntries;
      ADD_FAILURE() << "log entry for no occurrence: " << r.detail;
      continue;
    }
    Occurrence& o = expected[found->second];
    ++o.missed;
    o.missedByClockChange = r.detail.rfind("MISSED (CLOCK CHANGE)", 0) == 0;
  }

  // Each firing belongs to the occurrence of its type whose time it falls
  // in (a silent recording names its event by its folder).
  int unmatched = 0, recordings = 0, wrongStops = 0, wrongChannels = 0, wrongTimes = 0;
  int lateStarts = 0, liveOnOpenViewer = 0, liveOnStartedViewer = 0;
  int perType[4] = {};
  for (const Firing& f : firings) {
    const auto owner = std::find_if(expected.begin(), expected.end(), [&](const Occurrence& o) {
      return o.event.type == f.type && (f.slot < 0 || o.slot == f.slot) &&
             AddSeconds(o.start, -60) <= f.at && f.at < o.deadline;
    });
    if (owner == expected.end()) {
      ++unmatched;
      ADD_FAILURE() << "a firing at " << Stamp(f.at) << " of type " << CodeOf(f.type) << " for no occurrence";
      continue;
    }
    ++owner->fired;
    ++perType[CodeOf(f.type)];
    if (SecondsBetween(owner->start, f.at) > 20) {
      ++lateStarts;
      if (std::getenv("TELVANTIS_YEAR_DETAILS") != nullptr)
        std::printf("  started late at %s: %s\n", Stamp(f.at).c_str(), LineOf(owner->event).c_str());
    }
    if (f.type == EventType::RecordSilent || f.type == EventType::RecordLive) {
      ++recordings;
      if (f.stop != owner->end) {
        ++wrongStops;
        ADD_FAILURE() << "recording of " << LineOf(owner->event) << " fired " << Stamp(f.at) << " stops "
                      << (f.stop ? Stamp(*f.stop) : "never") << ", its end is " << Stamp(owner->end);
      }
    }
    if (f.type == EventType::RecordLive &&
        f.times != std::to_string(owner->event.startHour) + ":" + std::to_string(owner->event.startMinute) +
                       "-" + std::to_string(owner->event.endHour) + ":" + std::to_string(owner->event.endMinute))
      ++wrongTimes;
    if (f.type != EventType::RecordSilent) {
      const int channel = static_cast<int>(FindEventChannel(kChannels, owner->event).value());
      (f.viewerWasOpen ? liveOnOpenViewer : liveOnStartedViewer) += 1;
      if (f.viewerChannel != channel) {
        ++wrongChannels;
        ADD_FAILURE() << "the viewer was on channel " << f.viewerChannel << " when "
                      << LineOf(owner->event) << " fired at " << Stamp(f.at);
      }
    }
  }

  int fired = 0, missedClock = 0, missedAsleep = 0, twice = 0, lost = 0;
  const bool details = std::getenv("TELVANTIS_YEAR_DETAILS") != nullptr;
  for (const Occurrence& o : expected) {
    const int outcomes = o.fired + o.missed;
    if (outcomes == 0) {
      ++lost;
      ADD_FAILURE() << "lost without a log line: " << LineOf(o.event);
    }
    if (outcomes > 1) {
      ++twice;
      ADD_FAILURE() << "fired " << o.fired << " and missed " << o.missed << " times: " << LineOf(o.event);
    }
    fired += o.fired > 0;
    if (o.missed > 0) (o.missedByClockChange ? missedClock : missedAsleep) += 1;
    if (details && (o.missed > 0))
      std::printf("  %s %s\n", o.missedByClockChange ? "missed (clock change)" : "missed (asleep)",
                  LineOf(o.event).c_str());
  }
  EXPECT_EQ(twice, 0);
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(unmatched, 0);
  EXPECT_EQ(unknownEntries, 0);
  EXPECT_EQ(wrongStops, 0);
  EXPECT_EQ(wrongChannels, 0);
  EXPECT_EQ(wrongTimes, 0);
  // The year did meet what it is for.
  EXPECT_TRUE(springDone && fallDone);
  EXPECT_GT(missedClock, 0);
  EXPECT_GT(lateStarts, 0);
  EXPECT_GT(missedAsleep, 0);
  EXPECT_GT(liveOnOpenViewer, 0);
  EXPECT_GT(liveOnStartedViewer, 0);

  std::printf("Simulated year, %s build: %zu occurrences of %d events; %d fired "
              "(%d record-live, %d record-silent, %d watch-live, %d timeshift; %d live events on an open "
              "viewer, %d on a viewer started for them; %d started late, the clock having moved over their start), "
              "%d missed (%d clock change, %d asleep), %d fired twice, %d lost without a log line; "
              "%d recordings, %d not stopping at their event's end; %zu clock steps, %d wrong channels.\n",
              GetParam() == SchedulerVariant::TransportStream ? "transport-stream" : "stream-buffer",
              expected.size(), kSlots, fired, perType[CodeOf(EventType::RecordLive)],
              perType[CodeOf(EventType::RecordSilent)], perType[CodeOf(EventType::WatchLive)],
              perType[CodeOf(EventType::Timeshift)], liveOnOpenViewer, liveOnStartedViewer,
              lateStarts, missedClock + missedAsleep, missedClock, missedAsleep, twice, lost,
              recordings, wrongStops, stepsDone.size(), wrongChannels);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, SchedulerYear,
                         ::testing::Values(SchedulerVariant::DvrMs, SchedulerVariant::TransportStream),
                         [](const auto& info) {
                           return info.param == SchedulerVariant::DvrMs ? std::string("StreamBuffer")
                                                                        : std::string("TransportStream");
                         });
