#include "viewer/guide/ViewerGuide.h"

#include <ctime>

#include "viewer/ViewerSession.h"

namespace {

constexpr char kChannelHeld[] = "CAN'T CHANGE CHANNEL WHILE RECORDING";
constexpr char kNoModel[] = "NO TUNER MODEL: NOTHING CAN BE RECORDED";

}  // namespace

ViewerGuide::ViewerGuide(const ViewerSession& session, GuideStore& store, GuidePanel& panel)
    : session(session), store(store), panel(panel) {}

ViewerGuide::~ViewerGuide() = default;

std::optional<std::string> ViewerGuide::Start(HWND panelHandle) {
  const TuningModel* model = session.ModelRow();
  if (model == nullptr) return std::nullopt;
  panelWindow = panelHandle;
  recorder = std::make_unique<GuideRecorder>(
      *model, zone, [this](const std::string& text, bool mustBeSeen) { ShowStatus(text, mustBeSeen); });
  recorder->AllowAnswers(panelWindow);
  recorder->SetPadding(padding);
  return recorder->LoadSeries();
}

void ViewerGuide::Open(HWND owner) {
  if (window.Open(owner)) window.Refresh();
}

void ViewerGuide::OnTimer(std::int64_t nowUtc) {
  if (recorder) recorder->Tick();
  if (store.Generation() == seenGeneration) return;
  seenGeneration = store.Generation();
  PlanSeries(nowUtc);
  if (window.IsOpen()) window.Refresh();
}

bool ViewerGuide::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return recorder && recorder->HandleMessage(message, wParam, lParam);
}

bool ViewerGuide::TranslateKeys(MSG& message) { return window.IsOpen() && window.TranslateDialogKeys(message); }

void ViewerGuide::Close() { window.Close(); }

const std::vector<GuideProgramme>& ViewerGuide::GuideProgrammes() const { return store.Programmes(); }

const std::vector<ChannelEntry>& ViewerGuide::GuideChannels() const { return session.Channels(); }

std::optional<std::size_t> ViewerGuide::WatchedChannel() const {
  if (session.CurrentChannel() == nullptr) return std::nullopt;
  return static_cast<std::size_t>(session.CurrentIndex());
}

std::int64_t ViewerGuide::NowUtc() const { return static_cast<std::int64_t>(std::time(nullptr)); }

std::vector<ScheduleEvent> ViewerGuide::ScheduledEvents() const {
  return recorder ? recorder->ScheduledEvents() : std::vector<ScheduleEvent>{};
}

std::optional<std::string> ViewerGuide::WatchChannel(std::size_t channelIndex) {
  if (session.ChannelHeld()) return kChannelHeld;
  panel.GoToChannel(static_cast<int>(channelIndex));
  return std::nullopt;
}

RecordingPadding ViewerGuide::Padding() const { return recorder ? recorder->Padding() : padding; }

void ViewerGuide::SetPadding(RecordingPadding value) {
  padding = value;
  if (recorder) recorder->SetPadding(value);
}

std::optional<std::string> ViewerGuide::RecordProgramme(const GuideProgramme& programme) {
  if (!recorder) return kNoModel;
  return recorder->RecordProgramme(programme, session.Channels());
}

std::optional<std::string> ViewerGuide::RecordSeries(const GuideProgramme& programme) {
  if (!recorder) return kNoModel;
  return recorder->RecordSeries(programme, store.Programmes(), session.Channels(), NowUtc());
}

const SeriesRules& ViewerGuide::Series() const { return recorder ? recorder->Series() : noSeries; }

void ViewerGuide::RemoveSeries(std::size_t index) {
  if (recorder) recorder->RemoveSeries(index);
}

// An answer changes the schedule and perhaps a series' refusals: the window
// shows the text and its marks anew. With the window closed the outcome
// stays in the scheduler's list and under the series rule, and what the user
// must see (a RECORD that was not scheduled) comes in a box over the panel.
void ViewerGuide::ShowStatus(const std::string& text, bool mustBeSeen) {
  if (window.IsOpen()) {
    window.ShowStatus(text);
    window.Refresh();
  } else if (mustBeSeen) {
    MessageBoxA(panelWindow, text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
  }
}

void ViewerGuide::PlanSeries(std::int64_t nowUtc) {
  if (!recorder || recorder->Series().Rules().empty()) return;
  recorder->PlanSeries(store.Programmes(), session.Channels(), recorder->ScheduledEvents(), nowUtc);
}
