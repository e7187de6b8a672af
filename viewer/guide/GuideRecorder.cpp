#include "viewer/guide/GuideRecorder.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "core/files/FileNames.h"
#include "core/guide/SeriesPlanner.h"
#include "core/protocol/HandOffFiles.h"
#include "core/protocol/ProgramProtocol.h"
#include "core/schedule/ScheduleFile.h"
#include "core/schedule/ScheduleList.h"
#include "win/RegistryFolder.h"

namespace {

constexpr const char* kSchedulerExe = "TelvantisSched.exe";
constexpr const char* kRecordValue = "Record";
constexpr const char* kSeriesNotWritten = "CAN'T WRITE SERIES.TXT";

// Seconds of a steady clock, for the queue's waits: a change of the
// system's clock does not shorten or stretch them.
std::int64_t SteadySeconds() { return static_cast<std::int64_t>(GetTickCount64() / 1000); }

// The folder of the program file, with its final backslash.
std::string ProgramFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file(path, length < MAX_PATH ? length : MAX_PATH);
  const std::size_t slash = file.find_last_of('\\');
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

// The scheduler as the queue needs it: its windows, found by their exact
// titles, its program, and the hand-off files in the working folder, where
// the scheduler (started from here, so in the same folder) reads them.
class SchedulerHandOff final : public GuideHandOffPlatform {
 public:
  explicit SchedulerHandOff(std::vector<std::string> titles)
      : titles(std::move(titles)), eventMessage(RegisterWindowMessageA(ProgramProtocol::kGuideEventMessage)) {}

  bool IsSchedulerRunning() override { return FindScheduler() != nullptr; }

  bool StartScheduler() override {
    const std::string exe = ProgramFolder() + kSchedulerExe;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", exe.c_str(), nullptr, nullptr, SW_SHOWNOACTIVATE));
    return result > 32;
  }

  GuideOffer WriteOffer(const GuideEventHandOff& handOff) override {
    return HandOffFiles::OfferGuideEvent(FileNames::kGuideEvent, handOff);
  }

  bool PostOffer() override {
    HWND scheduler = FindScheduler();
    return scheduler != nullptr && eventMessage != 0 && PostMessageA(scheduler, eventMessage, 0, 0) != 0;
  }

  HandOffRead<GuideAnswer> TakeAnswer() override {
    return HandOffFiles::TakeGuideAnswer(FileNames::kGuideAnswer);
  }

  bool WithdrawOffer() override { return HandOffFiles::WithdrawGuideEvent(FileNames::kGuideEvent); }

 private:
  HWND FindScheduler() const {
    for (const std::string& title : titles)
      if (HWND window = FindWindowA(nullptr, title.c_str())) return window;
    return nullptr;
  }

  std::vector<std::string> titles;
  UINT eventMessage = 0;
};

}  // namespace

GuideRecorder::GuideRecorder(const TuningModel& model, const LocalZone& zone, StatusCallback onStatus)
    : zone(zone),
      onStatus(std::move(onStatus)),
      recordRegistryKey(RecordRegistryKey(model)),
      platform(std::make_unique<SchedulerHandOff>(std::vector<std::string>{
          WindowTitle(model, ProgramWindow::Scheduler), WindowTitle(model, ProgramWindow::SchedulerTs)})),
      queue(*platform),
      answerMessage(RegisterWindowMessageA(ProgramProtocol::kGuideAnswerMessage)) {}

GuideRecorder::~GuideRecorder() = default;

std::optional<std::string> GuideRecorder::LoadSeries() {
  LoadedSeries loaded = ::LoadSeries(FileNames::kSeries);
  series = std::move(loaded.rules);
  seriesWritable = loaded.writable;
  return loaded.notice;
}

bool GuideRecorder::AllowAnswers(HWND panel) const {
  return answerMessage != 0 &&
         ChangeWindowMessageFilterEx(panel, answerMessage, MSGFLT_ALLOW, nullptr) != FALSE;
}

bool GuideRecorder::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (answerMessage == 0 || message != answerMessage) return false;
  Handle(queue.OnAnswer(static_cast<int>(wParam), lParam != 0, SteadySeconds()));
  return true;
}

void GuideRecorder::Tick() { Handle(queue.Tick(SteadySeconds())); }

void GuideRecorder::SetPadding(RecordingPadding value) {
  value.startEarlyMinutes = std::clamp(value.startEarlyMinutes, 0, kMaxPaddingMinutes);
  value.endLateMinutes = std::clamp(value.endLateMinutes, 0, kMaxPaddingMinutes);
  padding = value;
}

std::optional<std::string> GuideRecorder::RecordProgramme(const GuideProgramme& programme,
                                                          const std::vector<ChannelEntry>& channels) {
  const ChannelEntry* channel = FindGuideChannel(channels, programme.major, programme.minor);
  if (!channel) return std::string(ScheduleList::kChannelNotListed);
  GuideRecording recording = PaddedRecordingEvent(programme, *channel, padding, RecordFolder(), zone);
  if (!recording.event) return recording.refusal;
  Handle(queue.Add(GuideHandOffItem{GuideHandOffItem::Kind::Once, programme, std::move(*recording.event)},
                   SteadySeconds()));
  return std::nullopt;
}

std::optional<std::string> GuideRecorder::RecordSeries(const GuideProgramme& programme,
                                                       const std::vector<GuideProgramme>& guide,
                                                       const std::vector<ChannelEntry>& channels,
                                                       std::int64_t nowUtc) {
  if (auto refusal = series.AddRule(programme.major, programme.minor, programme.title)) return refusal;
  SaveSeries();
  PlanSeries(guide, channels, ScheduledEvents(), nowUtc);
  return std::nullopt;
}

void GuideRecorder::RemoveSeries(std::size_t index) {
  // Showings handed over already stay in the scheduler's list, where the
  // user removes them as any other event.
  if (series.RemoveRule(index)) SaveSeries();
}

void GuideRecorder::PlanSeries(const std::vector<GuideProgramme>& guide,
                               const std::vector<ChannelEntry>& channels,
                               const std::vector<ScheduleEvent>& schedule, std::int64_t nowUtc) {
  const SeriesPlanner planner(channels, padding, RecordFolder(), zone);
  SeriesPlanner::Plan plan = planner.PlanShowings(series, guide, schedule, nowUtc);
  // Written before the hand-overs go: a viewer that ends meanwhile does not
  // hand the same showings again at its next start.
  if (plan.rulesChanged) SaveSeries();
  if (plan.handOvers.empty()) return;
  std::vector<GuideHandOffItem> batch;
  for (SeriesHandOver& handOver : plan.handOvers)
    batch.push_back(GuideHandOffItem{GuideHandOffItem::Kind::SeriesShowing, std::move(handOver.programme),
                                     std::move(handOver.event)});
  Handle(queue.Add(std::move(batch), SteadySeconds()));
}

std::vector<ScheduleEvent> GuideRecorder::ScheduledEvents() const {
  auto contents = ScheduleFile::Read(FileNames::kSchedule);
  return contents ? std::move(contents->events) : std::vector<ScheduleEvent>{};
}

void GuideRecorder::Handle(const std::vector<GuideHandOffOutcome>& outcomes) {
  bool changed = false;
  for (const GuideHandOffOutcome& outcome : outcomes) {
    if (outcome.item.kind == GuideHandOffItem::Kind::SeriesShowing) {
      const GuideProgramme& p = outcome.item.programme;
      switch (outcome.kind) {
        case GuideHandOffOutcome::Kind::Refused:
          // Listed under the rule with the scheduler's reason, never retried.
          series.RecordRefused(p.major, p.minor, p.title, p.startUtc, outcome.text);
          changed = true;
          break;
        case GuideHandOffOutcome::Kind::NotScheduled:
          // It never reached the scheduler: planned again with the next guide data.
          series.Forget(p.major, p.minor, p.title, p.startUtc);
          changed = true;
          break;
        case GuideHandOffOutcome::Kind::Accepted:
        case GuideHandOffOutcome::Kind::Unknown:
          // Handed over already; an unanswered one may be in the scheduler's
          // list, and handing it again would only meet an overlap.
          break;
      }
    }
  }
  if (changed) SaveSeries();
  // Shown after the rules are saved: the panel may show a box, whose
  // message loop runs the timer and with it this recorder again.
  if (onStatus)
    for (const GuideHandOffOutcome& outcome : outcomes)
      onStatus(GuideHandOffText(outcome, zone), outcome.item.kind == GuideHandOffItem::Kind::Once &&
                                                    outcome.kind != GuideHandOffOutcome::Kind::Accepted);
}

void GuideRecorder::SaveSeries() {
  // A damaged series.txt that could not be kept aside is not written over:
  // the user was told at the start that the rules are not saved.
  if (!seriesWritable) return;
  if (!series.Save(FileNames::kSeries) && onStatus) onStatus(kSeriesNotWritten, true);
}

std::string GuideRecorder::RecordFolder() const {
  // The scheduler's window gives its events this folder as well; none set,
  // the event has none.
  return ReadFolderValue(recordRegistryKey, kRecordValue).value_or(std::string());
}
