#pragma once
// The programme guide inside the viewer: the "Telvantis Guide" window, the
// recordings made from it and the series rules, over the guide the panel's
// GuideStore collects. The panel owns one; it forwards its timer, the
// scheduler's answer and the keyboard, and tunes a channel when the guide
// asks it to.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "viewer/guide/GuideHost.h"
#include "viewer/guide/GuideRecorder.h"
#include "viewer/guide/GuideStore.h"
#include "viewer/guide/GuideWindow.h"
#include "win/Win32LocalZone.h"

class ViewerSession;

// What the guide asks of the panel.
class GuidePanel {
 public:
  virtual ~GuidePanel() = default;
  // Tunes the channel of channels.txt's row `index`, as a choice from the
  // channel menu does.
  virtual void GoToChannel(int index) = 0;
};

class ViewerGuide final : private GuideHost {
 public:
  ViewerGuide(const ViewerSession& session, GuideStore& store, GuidePanel& panel);
  ~ViewerGuide();
  ViewerGuide(const ViewerGuide&) = delete;
  ViewerGuide& operator=(const ViewerGuide&) = delete;

  // Once start-up knows the tuner model: the scheduler's answers let
  // through to `panelHandle`, which also owns the boxes shown with the guide
  // closed, series.txt read. A notice for the user when series.txt was
  // damaged. Without a model nothing can be recorded.
  std::optional<std::string> Start(HWND panelHandle);

  // "GUIDE..." and the key E: opens the window, or brings it forward.
  void Open(HWND owner);
  // The panel's 500 ms timer: new guide data refreshes the window and plans
  // the series; late answers are given up on and the next event offered.
  void OnTimer(std::int64_t nowUtc);
  // The scheduler's answer: true when `message` was it.
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // For the program's message loop: the guide window's dialog keys.
  bool TranslateKeys(MSG& message);
  // At exit: the window goes.
  void Close();

 private:
  // GuideHost
  const std::vector<GuideProgramme>& GuideProgrammes() const override;
  const std::vector<ChannelEntry>& GuideChannels() const override;
  std::optional<std::size_t> WatchedChannel() const override;
  const LocalZone& Zone() const override { return zone; }
  std::int64_t NowUtc() const override;
  std::vector<ScheduleEvent> ScheduledEvents() const override;
  std::optional<std::string> WatchChannel(std::size_t channelIndex) override;
  RecordingPadding Padding() const override;
  void SetPadding(RecordingPadding padding) override;
  std::optional<std::string> RecordProgramme(const GuideProgramme& programme) override;
  std::optional<std::string> RecordSeries(const GuideProgramme& programme) override;
  const SeriesRules& Series() const override;
  void RemoveSeries(std::size_t index) override;

  void ShowStatus(const std::string& text, bool mustBeSeen);
  void PlanSeries(std::int64_t nowUtc);

  const ViewerSession& session;
  GuideStore& store;
  GuidePanel& panel;
  Win32LocalZone zone;
  HWND panelWindow = nullptr;  // the owner of the boxes shown with the guide closed
  std::unique_ptr<GuideRecorder> recorder;  // none without a tuner model
  GuideWindow window{*this};
  std::uint64_t seenGeneration = 0;
  RecordingPadding padding;  // used while there is no recorder
  SeriesRules noSeries;
};
