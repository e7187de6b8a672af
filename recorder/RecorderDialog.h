#pragma once
// The silent recorder's window: the channel, the stop time and the duration,
// the record and stop buttons, the file name and the elapsed time. It records
// one channel through a recording graph, without picture or sound, reports
// start and stop to the scheduler and ends when the recording stops. The
// decisions are RecorderSession's; this class shows them and drives the graph.

#include <windows.h>

#include <optional>
#include <string>

#include "core/time/CivilTime.h"
#include "core/tuning/ChannelTuning.h"
#include "graph/RecordingGraph.h"
#include "recorder/RecorderSession.h"
#include "recorder/RecorderSetup.h"
#include "recorder/RecorderVariant.h"
#include "win/Dialog.h"

// The window's private messages.
inline constexpr UINT kStartScheduledMessage = WM_APP + 1;  // start the event's recording
inline constexpr UINT kGraphEventMessage = WM_APP + 2;      // the graph has events waiting

class RecorderDialog : public Dialog<RecorderDialog> {
 public:
  explicit RecorderDialog(RecorderVariant variant);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInitDialog();
  void TakeHandOffFile();
  INT_PTR OnCommand(WPARAM wParam);
  INT_PTR OnNotify(const NMHDR& header);
  void OnTimer();
  void OnGraphEvent();
  void OnOk();

  void StartRecording();
  bool BuildGraph(const TuneValues& channel);
  void ShowStartedState();
  void OnChange();
  void Stop(StopReason reason);

  // The spins' hours and minutes, and setting them.
  HoursMinutes Spins() const;
  void SetSpins(HoursMinutes span);
  void OnSpinsEdited();
  void OnPickerChanged();
  // The base of the picker's arithmetic: the stop time when one is set, else now.
  HoursMinutes StopOrNow() const;

  void PlaceWindow();
  void Log(const std::string& entry) const;
  void PostToScheduler(UINT message, WPARAM wParam, LPARAM lParam) const;

  RecorderVariant variant;
  RecorderSetup setup;
  RecorderSession session;
  RecordingGraph graph;
  std::string folder;
  std::optional<SilentEventHandOff> event;
  CivilTime eventHandedOver;  // when the scheduler wrote the event's file
  UINT startStopMessage = 0;
  UINT shutdownMessage = 0;
  bool settingControls = false;  // the window itself is changing the spins or the picker
  bool ending = false;
};
