#pragma once

// Test support: a recording stand-in for the scheduler's actions, with a
// small model of the other programs (viewer, silent recorder, warning box)
// and a millisecond clock that delivers the engine's timer ticks in order.

#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/time/CivilTime.h"
#include "core/protocol/HandOffFiles.h"
#include "core/protocol/ProgramProtocol.h"
#include "core/schedule/ScheduleList.h"
#include "scheduler/SchedulerActions.h"
#include "scheduler/SchedulerEngine.h"
#include "scheduler/SchedulerFolder.h"

class FakeSchedulerActions : public SchedulerActions {
 public:
  struct Record {
    CivilTime at;
    std::string what;    // "post", "close", "start", "warn", "message", "file", "log", "wake", "channel"
    std::string target;  // title, exe, file name
    std::string detail;  // message name, parameters, text, content
  };

  FakeSchedulerActions(std::string viewerTitle, std::string recorderTitle, SchedulerFolder* folder)
      : viewerTitle(std::move(viewerTitle)), recorderTitle(std::move(recorderTitle)), folder(folder) {}

  // World state.
  CivilTime now;
  bool viewerRunning = false;      // the process
  bool viewerWindow = false;       // its window
  bool recorderWindow = false;
  int recorderClosePolls = 0;      // IsWindowOpen(recorder) answers true this often after WM_CLOSE
  bool recorderClosing = false;
  bool warningBox = false;
  bool viewerStarts = true;        // StartProgram of the viewer succeeds
  std::optional<std::vector<ChannelEntry>> channelFile;  // used when there is no folder
  long recorderPolls = 0;

  // Called when a program is started or a message reaches the viewer.
  std::function<void(const std::string& exe)> onStart;
  std::function<void(const std::string& message)> onViewerMessage;
  std::function<void()> onRecorderClosed;
  std::function<void(const std::string& entry)> onLog;

  std::vector<Record> records;
  std::set<SchedulerTimer> timers;

  std::vector<Record> Of(const std::string& what) const {
    std::vector<Record> found;
    for (const Record& r : records)
      if (r.what == what) found.push_back(r);
    return found;
  }

  bool IsWindowOpen(const std::string& title) override {
    if (title == viewerTitle) return viewerRunning && viewerWindow;
    if (title == recorderTitle) {
      ++recorderPolls;
      if (recorderClosing) {
        if (recorderClosePolls > 0) {
          --recorderClosePolls;
          return true;
        }
        recorderClosing = false;
        recorderWindow = false;
        if (onRecorderClosed) onRecorderClosed();
      }
      return recorderWindow;
    }
    if (title == ProgramProtocol::kWarningBoxTitle) return warningBox;
    return false;
  }
  void PostRegisteredMessage(const std::string& title, const std::string& name) override {
    Add("post", title, name);
    if (title == viewerTitle && viewerRunning && viewerWindow && onViewerMessage) onViewerMessage(name);
  }
  void PostClose(const std::string& title) override {
    Add("close", title, "");
    if (title == viewerTitle) viewerRunning = viewerWindow = false;
    if (title == ProgramProtocol::kWarningBoxTitle) warningBox = false;
    if (title == recorderTitle && recorderWindow) recorderClosing = true;
  }
  bool IsViewerRunning() override { return viewerRunning; }
  bool StartProgram(const std::string& exe, const std::string& parameters, ShowMode show) override {
    Add("start", exe, parameters + (show == ShowMode::Show ? " [show]" : " [noactivate]"));
    if (exe == ProgramProtocol::kViewerExe) {
      if (!viewerStarts) return false;
      viewerRunning = viewerWindow = true;
    }
    if (onStart) onStart(exe);
    return true;
  }
  void OpenWarningBox(const std::string& text) override {
    Add("warn", ProgramProtocol::kWarningBoxTitle, text);
    warningBox = true;
  }
  void ShowMessage(const std::string& text) override { Add("message", "", text); }
  void HideSchedulerWindow() override { Add("hide", "", ""); }

  void WriteHandOffFile(const std::filesystem::path& name, const std::string& content) override {
    Add("file", name.string(), content);
    if (folder) folder->WriteHandOffFile(name, content);
  }
  void AppendLog(const std::string& entry) override {
    Add("log", "", entry);
    if (folder) folder->AppendLog(entry);
    if (onLog) onLog(entry);
  }
  void AppendDebugLine(const std::string& line) override {
    ++debugLines;
    if (folder) folder->AppendDebugLine(line);
  }
  std::optional<std::vector<ChannelEntry>> ReadChannels() override {
    return folder ? folder->ReadChannels() : channelFile;
  }
  bool RewriteViewerChannel(int channelIndex) override {
    Add("channel", "config.txt", std::to_string(channelIndex));
    return folder ? folder->RewriteViewerChannel(channelIndex) : true;
  }
  void ScheduleChanged(const ScheduleList& list) override {
    ++scheduleSaves;
    if (folder) folder->SaveSchedule(list);
  }
  void UpdateWakeUpTask(bool enabled, const CivilTime& trigger) override {
    Add("wake", enabled ? "on" : "off", LogTimeStampOf(trigger));
  }
  void StartTimer(SchedulerTimer timer) override {
    timers.insert(timer);
    if (onTimerStarted) onTimerStarted(timer);
  }
  void StopTimer(SchedulerTimer timer) override { timers.erase(timer); }

  std::function<void(SchedulerTimer)> onTimerStarted;
  int debugLines = 0;
  int scheduleSaves = 0;

 private:
  static std::string LogTimeStampOf(const CivilTime& t) {
    return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day) +
           " " + std::to_string(t.hour) + ":" + std::to_string(t.minute);
  }
  void Add(const char* what, const std::string& target, const std::string& detail) {
    records.push_back(Record{now, what, target, detail});
  }

  std::string viewerTitle;
  std::string recorderTitle;
  SchedulerFolder* folder;
};

// Drives an engine with a millisecond clock: each running timer fires at its
// period, the event clock with optional random jitter and stalls, so ticks
// can miss whole seconds or see one twice.
class SimulatedClock {
 public:
  struct Jitter {
    int earlyMs = 0;         // a clock tick may come this much early
    int lateMs = 0;          // or this much late
    int stallPerMille = 0;   // chance of a stall before a clock tick
    int stallMs = 0;         // longest stall
    int backPerMille = 0;    // chance that a clock tick reads the time a second back
  };

  SimulatedClock(CivilTime start, SchedulerEngine& engine, FakeSchedulerActions& actions,
                 unsigned seed = 1)
      : base(start), engine(engine), actions(actions), random(seed) {
    actions.now = start;
    actions.onTimerStarted = [this](SchedulerTimer timer) { due[timer] = ms + PeriodOf(timer); };
  }

  Jitter jitter;
  // Called before each tick with the time of the tick (to move the world).
  std::function<void(const CivilTime&)> beforeTick;

  CivilTime Now() const { return AddSeconds(base, ms / 1000 + localShift); }

  // The local clock moves by `seconds` between two ticks while no time
  // passes (daylight saving time); a step forward is reported to the engine
  // as the window reports it, from the time of the last clock tick.
  void ShiftLocalClock(long long seconds) {
    const CivilTime before = lastClockTick.value_or(Now());
    localShift += seconds;
    actions.now = Now();
    if (seconds > 0) engine.OnLocalClockJump(before, Now());
  }
  long long Milliseconds() const { return ms; }

  // Jumps (as Jump) to a local time, when it lies ahead.
  void JumpTo(const CivilTime& local) {
    const long long seconds = SecondsBetween(Now(), local);
    if (seconds > 0) Jump(seconds);
  }

  // Runs timers until `seconds` of simulated time have passed.
  void RunFor(long long seconds) {
    const long long end = ms + seconds * 1000;
    while (true) {
      std::optional<SchedulerTimer> next;
      long long when = end;
      for (const auto timer : actions.timers) {
        auto found = due.find(timer);
        if (found == due.end()) found = due.emplace(timer, ms + PeriodOf(timer)).first;
        if (found->second <= when && (!next || found->second < when)) {
          when = found->second;
          next = timer;
        }
      }
      if (!next) {
        ms = end;
        actions.now = Now();
        if (beforeTick) beforeTick(Now());
        return;
      }
      ms = std::max(ms, when);
      due[*next] = when + PeriodOf(*next) + TickJitter(*next);
      actions.now = Now();
      if (beforeTick) beforeTick(Now());
      Deliver(*next);
    }
  }

  // Moves the clock without ticks (a machine that sleeps, a clock step).
  void Jump(long long seconds) {
    ms += seconds * 1000;
    for (auto& [timer, when] : due) when = std::max(when, ms);
    actions.now = Now();
  }

 private:
  static long long PeriodOf(SchedulerTimer timer) {
    switch (timer) {
      case SchedulerTimer::Alignment: return 200;
      case SchedulerTimer::DelayedStart: return 250;
      case SchedulerTimer::RecorderClose: return 100;
      default: return 1000;
    }
  }

  long long TickJitter(SchedulerTimer timer) {
    if (timer != SchedulerTimer::EventClock) return 0;
    long long extra = 0;
    if (jitter.earlyMs > 0 || jitter.lateMs > 0)
      extra = std::uniform_int_distribution<int>(-jitter.earlyMs, jitter.lateMs)(random);
    if (jitter.stallPerMille > 0 &&
        std::uniform_int_distribution<int>(0, 999)(random) < jitter.stallPerMille)
      extra += std::uniform_int_distribution<int>(1000, std::max(1000, jitter.stallMs))(random);
    return extra;
  }

  void Deliver(SchedulerTimer timer) {
    const CivilTime now = Now();
    switch (timer) {
      case SchedulerTimer::Alignment: engine.OnAlignmentTick(now); break;
      case SchedulerTimer::EventClock: {
        CivilTime read = now;
        if (jitter.backPerMille > 0 &&
            std::uniform_int_distribution<int>(0, 999)(random) < jitter.backPerMille)
          read = AddSeconds(now, -1);
        lastClockTick = read;
        engine.OnClockTick(read);
        break;
      }
      case SchedulerTimer::DelayedStart: engine.OnDelayedStartTick(now); break;
      case SchedulerTimer::Shutdown: engine.OnShutdownTick(); break;
      case SchedulerTimer::RecorderClose: engine.OnRecorderCloseTick(now); break;
    }
  }

  CivilTime base;
  long long ms = 0;
  long long localShift = 0;
  std::optional<CivilTime> lastClockTick;
  SchedulerEngine& engine;
  FakeSchedulerActions& actions;
  std::map<SchedulerTimer, long long> due;
  std::mt19937 random;
};
