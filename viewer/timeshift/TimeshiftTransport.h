#pragma once
// The control panel's timeshift and record groups: timeshift on and off
// (with its menu), pause, play, the skips, the jumps to the start of the
// buffer and to live, stopping the buffer, the behind-live field and its
// timers 4 to 7, the skip-size and timeshift-channel menus, the record
// button, key U, and the recordings with their "Record..." and "Recording
// Now" windows. The panel passes its commands and timers on; the scheduler's
// messages and the record menu call the entry points.

#include <windows.h>

#include <optional>

#include "core/schedule/ScheduleEvent.h"
#include "viewer/TvEngine.h"
#include "viewer/ViewerSession.h"
#include "viewer/record/RecordClock.h"
#include "viewer/record/RecordingNowWindow.h"
#include "viewer/timeshift/TimeshiftClock.h"
#include "viewer/timeshift/TimeshiftHost.h"

// Posted to the panel when the timeshift playback graph has events waiting.
inline constexpr UINT kPlaybackEventMessage = WM_APP + 1;

class TimeshiftTransport : private RecordingNowHost {
 public:
  TimeshiftTransport(TvEngine& engine, ViewerSession& session);

  // The panel, once its window exists, and what it does for these groups.
  void Attach(HWND panel, TimeshiftHost& host);

  // The panel's commands of these groups, key U and the menus' items, with
  // their notification code; false for any other command, and for the
  // labels' other notifications (enabling a label tells its window too).
  bool OnCommand(int id, int code = 0);
  // Timers 4 to 7; false for any other timer.
  bool OnTimer(UINT_PTR id);
  // The playback graph has events waiting (kPlaybackEventMessage): past a
  // time hole, the delay shown shrinks by the stretch skipped.
  void OnPlaybackEvent();

  // Timeshift on (and paused), as the menu, the pause button and the
  // scheduler's timeshift message turn it on; off as the menu does.
  void TimeshiftOn(bool pause);
  void TimeshiftOff();

  // A recording from live of `duration`, with the "Recording Now" window:
  // the record button (one hour), the record menu's entries, the scheduler
  // (which gives what to do when the recording ends). Nothing while
  // timeshifting or recording.
  void StartRecording(const ClockSpan& duration, std::optional<WhenDone> whenDone = std::nullopt);
  // A recording that stops at `stop` (a scheduled event's end, however late
  // it starts), with `planned` shown as its duration; nothing when the stop
  // is not ahead.
  void StartRecordingUntil(const CivilTime& stop, const ClockSpan& planned,
                           std::optional<WhenDone> whenDone);
  // "RECORD...": the record dialog, then the recording it asks for.
  void OpenRecordDialog();
  // The record command: a one-hour recording, or ten minutes more for the
  // one that runs.
  void RecordCommand();
  // Key U: timeshift off, or the running recording stopped.
  void StopCommand();
  // The viewer ends (EXIT, Esc, a close) while a recording runs: it stops
  // as STOP stops it, with its entry in the event log and the window
  // closed, but without going back to live, since the graphs go next.
  void EndRecordingForExit();

  // After a channel change while timeshifting: playback goes to live on the
  // new channel.
  void AfterChannelChange();

  // The control panel parked off screen (true) or back: the "Recording Now"
  // window hides and shows with it.
  void SetPanelParked(bool parked) { nowWindow.SetParked(parked); }

 private:
  // RecordingNowHost: the STOP procedure.
  void OnRecordingStop(bool byTime) override;
  bool EndRecording(bool byTime);
  bool RecordingHasBegun() override { return engine.RecordingHasBegun(); }

  void Pause();
  void Play();
  void SkipBack();
  void SkipForward();
  void JumpToStart();
  void JumpToLive();
  void StopBuffering();
  void ShowTimeshiftMenu();
  void ShowSkipMenu();
  void ShowChannelMenu();
  void ChooseTimeshiftChannel(int index);
  void ShowBehindLive();
  void ShowBehindLive(const std::string& text);
  void ShowLiveControls();
  void OnTimer4();
  void OnTimer6();
  void OnTimer7();
  bool InTimeshift() const;
  void Enable(std::initializer_list<int> ids, bool enable);
  void SetText(int id, const std::string& text);
  void RestartTimer(UINT_PTR id, UINT period);
  int ShowPopup(HMENU menu, int anchorId);

  TvEngine& engine;
  ViewerSession& session;
  HWND panel = nullptr;
  TimeshiftHost* host = nullptr;
  TimeshiftClock clock;
  int timer4Ticks = 0;

  RecordingNowWindow nowWindow{*this};
  std::optional<WhenDone> whenDone;  // recordings started by the scheduler only
};
