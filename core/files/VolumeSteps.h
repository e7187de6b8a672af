#pragma once
// The volume keys' steps, the viewer's and the players': the speaker level
// moves to the next multiple of 2.5 per cent up or down, skipping one that
// lies less than half a per cent away. Levels are the mixer control's raw
// values, 0 to 65535, as chvols.txt keeps them.

struct VolumeStep {
  unsigned level = 0;          // the new mixer level
  double shownPercent = 0.0;   // for the "VOL: %0.1f%%" caption
};

inline constexpr unsigned kMaxMixerLevel = 65535;

VolumeStep VolumeUp(double level);
VolumeStep VolumeDown(double level);
