#pragma once

// The viewer's display and audio options, edited in the setup window and
// kept in config.txt.
struct ViewerSettings {
  bool showChannel = true;
  bool showRemoteDigits = true;
  bool showVolume = true;
  bool transparentOsd = true;
  bool perChannelAspect = false;
  bool lockResize = true;
  bool muteOnMinimise = false;
  bool perChannelVolume = false;
  bool savePerChannelVolume = false;
  bool openOnSchedule = false;  // the next opening of the setup window shows "Schedule"
};
