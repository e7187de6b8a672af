#pragma once
// "Recording Now": the modeless window that stays open while a recording
// runs. It shows the file, the stop time, the planned duration and the
// elapsed time with a progress bar, lets the user add time, and ends the
// recording through its host when the user presses STOP or when the clock
// reaches the stop time.

#include <optional>
#include <string>

#include "viewer/record/RecordClock.h"
#include "win/Dialog.h"

class RecordingNowHost {
 public:
  virtual ~RecordingNowHost() = default;
  // The recording is to end: `byTime` when the stop time was reached, else
  // the user pressed STOP. The host closes the window.
  virtual void OnRecordingStop(bool byTime) = 0;
  // Whether the recording has begun writing: the elapsed time counts from
  // that moment, so that it is the length of the file.
  virtual bool RecordingHasBegun() = 0;
};

class RecordingNowWindow : public Dialog<RecordingNowWindow> {
 public:
  explicit RecordingNowWindow(RecordingNowHost& host);
  ~RecordingNowWindow();

  // Opens the window beside `panel` (below it, or above it when there is no
  // room below) and starts its one-second clock.
  bool Open(HWND panel, const std::string& filePath, const RecordingClock& clock);
  bool IsOpen() const { return hwnd != nullptr; }
  // Lengthens the recording, as CHANGE does.
  void AddTime(const ClockSpan& span);
  // Stops the clock and destroys the window.
  void Close();
  // Hides the window while the control panel is parked off screen and shows
  // it again when the panel comes back; a window opened while parked starts
  // hidden.
  void SetParked(bool parked);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR OnInitDialog();
  INT_PTR OnCommand(int id, int code);
  void OnSecond();
  void OnStartWatch();
  void OnAddTimePicked();
  void OnAddSpansChanged();
  void ShowPlan();
  INT_PTR OnMoving(LPARAM lParam);

  static constexpr UINT_PTR kClockTimer = 1;
  // Looks often for the recording's beginning until it comes.
  static constexpr UINT_PTR kStartWatchTimer = 2;
  static constexpr UINT kStartWatchMs = 50;

  RecordingNowHost& host;
  HWND panel = nullptr;
  std::string filePath;
  RecordingClock clock;
  bool updating = false;
  bool parked = false;
  std::optional<ULONGLONG> begunAt;  // GetTickCount64 when the recording began
};
