#pragma once

#include <cstdint>
#include <string>

#include "core/files/PlayConfig.h"

// The player's read-outs and menu titles, and the arithmetic of its
// position: media times are in 100 ns units, the slider runs 0..1000.

inline constexpr std::int64_t kUnitsPerSecond = 10'000'000;
inline constexpr int kSliderRange = 1000;

// The position read-out: the elapsed time, the time remaining (whole
// seconds of the duration less whole seconds of the position) or
// "--:--:--", as H:MM:SS.
std::string PositionText(TimeDisplayMode mode, std::int64_t position, std::int64_t duration);

// The slider's place for a position: position seconds x 1000 / duration
// seconds (0 for a duration under a second).
int SliderValue(std::int64_t position, std::int64_t duration);

// Where a slider value seeks to: that share of the duration's whole
// seconds, in whole seconds.
std::int64_t SliderTarget(std::int64_t duration, int value);

// Skips: back by `seconds`, never before the start; forward by `seconds`.
std::int64_t SkipBackTarget(std::int64_t position, int seconds);
std::int64_t SkipForwardTarget(std::int64_t position, int seconds);
// Two seconds before the end (the start for a shorter file).
std::int64_t NearEndTarget(std::int64_t duration);

// "SKIP FF: 2 MIN", "SKIP RW: 30 SECS": minutes from 60 seconds on.
std::string SkipMenuTitle(const char* direction, int seconds);

// "DISPLAY: ELAPSED TIME", "DISPLAY: REMAINING TIME", "DISPLAY: HIDE TIME".
std::string TimeMenuTitle(TimeDisplayMode mode);

// "%i X %i": the native size read-out and the window menu's entries.
std::string SizeText(int width, int height);
