#pragma once

// The speaker level (0..65535) after a press of volume up or down: the level
// moves on a grid of 2.5 % steps, a press from between two steps going to
// the next one.
int NextVolumeLevel(int level, bool up);
