#pragma once
// The guide's recordings: one-time RECORDs and the series rules, handed to
// the scheduler one event at a time through guideevent.txt, and the padding
// of every recording made from the guide. The panel forwards GuideHost's
// record, series and padding calls here, calls PlanSeries whenever new
// guide data arrives, Tick from its timer (about once a second) and
// HandleMessage from its window procedure, where the scheduler's answer
// arrives. Outcomes reach the panel as texts through `onStatus`, marked when
// the user must see them even with the guide closed.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/guide/GuideHandOffQueue.h"
#include "core/guide/GuideProgramme.h"
#include "core/guide/RecordingPadding.h"
#include "core/guide/SeriesRules.h"
#include "core/schedule/ScheduleEvent.h"
#include "core/time/LocalZone.h"
#include "core/tuning/TuningModel.h"

class GuideRecorder {
 public:
  // `mustBeSeen`: a one-time RECORD that was not scheduled, or series rules
  // that could not be saved; the other texts only report.
  using StatusCallback = std::function<void(const std::string& text, bool mustBeSeen)>;

  // The scheduler windows of `model` take the events (either build of the
  // scheduler: one runs per folder); TelvantisSched.exe from the program's
  // folder is started when neither runs. `zone` must outlive the recorder.
  GuideRecorder(const TuningModel& model, const LocalZone& zone, StatusCallback onStatus);
  ~GuideRecorder();
  GuideRecorder(const GuideRecorder&) = delete;
  GuideRecorder& operator=(const GuideRecorder&) = delete;

  // Reads series.txt from the working folder; the notice to show the user
  // once when it was damaged.
  std::optional<std::string> LoadSeries();

  // Lets the scheduler's answer through to the panel when the viewer runs
  // at a higher integrity level than the scheduler. False when it could not.
  bool AllowAnswers(HWND panel) const;
  // The scheduler's answer ("TELVANTISSCHED GUIDE ANSWER"): true when
  // `message` was it.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The panel's timer: gives up on a late answer, offers the next event.
  void Tick();

  RecordingPadding Padding() const { return padding; }
  void SetPadding(RecordingPadding value);

  // "RECORD": the refusal known at once (no channel of the list carries the
  // programme, a programme too long for one event, an impossible folder),
  // or nothing when the event was queued.
  std::optional<std::string> RecordProgramme(const GuideProgramme& programme,
                                             const std::vector<ChannelEntry>& channels);
  // "RECORD SERIES": adds the rule and plans its showings at once; the
  // rule's refusal, or nothing.
  std::optional<std::string> RecordSeries(const GuideProgramme& programme,
                                          const std::vector<GuideProgramme>& guide,
                                          const std::vector<ChannelEntry>& channels,
                                          std::int64_t nowUtc);
  const SeriesRules& Series() const { return series; }
  void RemoveSeries(std::size_t index);

  // Hands every showing of the series rules not yet decided to the
  // scheduler; to be called whenever new guide data arrives.
  void PlanSeries(const std::vector<GuideProgramme>& guide, const std::vector<ChannelEntry>& channels,
                  const std::vector<ScheduleEvent>& schedule, std::int64_t nowUtc);

  // The events of schedule.txt as it stands (none when it cannot be read).
  std::vector<ScheduleEvent> ScheduledEvents() const;

 private:
  void Handle(const std::vector<GuideHandOffOutcome>& outcomes);
  void SaveSeries();
  std::string RecordFolder() const;

  const LocalZone& zone;
  StatusCallback onStatus;
  std::string recordRegistryKey;
  std::unique_ptr<GuideHandOffPlatform> platform;
  GuideHandOffQueue queue;
  UINT answerMessage = 0;
  RecordingPadding padding;
  SeriesRules series;
  bool seriesWritable = true;  // false: a damaged series.txt could not be kept aside
};
