#pragma once
// What the setup window asks of the control panel behind it: tuning a
// dialled channel, the signal strength, the panel's channel controls and
// the settings that act once the window closes; and the live graph's
// pause while the channel scan has the tuner.

#include <optional>
#include <string>
#include <vector>

#include "core/guide/GuideProgramme.h"

#include "core/tuning/ChannelTuning.h"

class SetupHost {
 public:
  // Tunes the live graph to the dialled numbers and shows `caption` in the
  // panel's channel label; the panel's signal timer starts again. A failing
  // step has shown its message. False when nothing was tuned because a
  // recording holds the channel.
  virtual bool TuneDialled(const TuneValues& channel, const std::string& caption) = 0;

  // The tuner's raw signal strength; nothing when it cannot be read.
  virtual std::optional<long> SignalStrength() = 0;

  // The channel scan tunes with a graph of its own: the live graph stops
  // for it. False, and nothing stops, while a recording or the timeshift
  // holds the tuner (the panel has said so).
  virtual bool StopLiveForScan() = 0;
  // The scan is over: the live graph runs again, tuned as it was.
  virtual void RestartLiveAfterScan() = 0;

  // The programmes the scan read from one station, for the viewer's guide.
  virtual void TakeGuide(const std::vector<GuideProgramme>& programmes) = 0;

  // Channel up, down, recall, the channel and signal labels, volume up,
  // down and mute: usable only while there are channels.
  virtual void EnableChannelControls(bool enable) = 0;

  // The settings changed with "OK": the video window and the picture take
  // them now.
  virtual void ApplySettings() = 0;

 protected:
  ~SetupHost() = default;
};
