#pragma once
// What the timeshift and record groups ask of the control panel, which owns
// the picture, the caption and signal timers and the channel changes.

class TimeshiftHost {
 public:
  // Fits the picture into the video window.
  virtual void FitVideo() = 0;
  // Timer 2 (the caption's) runs again from a tick count of 0.
  virtual void RestartCaptionTimer() = 0;
  // Timer 1 (signal and picture size) runs again from a tick count of 0.
  virtual void RestartSignalTimer() = 0;
  // Makes the channel at `index` current as the channel keys and the
  // channel list do: the per-channel volume and aspect, the channel label
  // and the caption, and playback at live in timeshift.
  virtual void GoToChannel(int index) = 0;

 protected:
  ~TimeshiftHost() = default;
};
