#include "player/PlayerTexts.h"

#include <algorithm>
#include <cstdio>

#include "core/time/TimeTexts.h"

std::string PositionText(TimeDisplayMode mode, std::int64_t position, std::int64_t duration) {
  switch (mode) {
    case TimeDisplayMode::Hidden:
      return "--:--:--";
    case TimeDisplayMode::Remaining:
      return DurationText(duration / kUnitsPerSecond - position / kUnitsPerSecond);
    case TimeDisplayMode::Elapsed:
      break;
  }
  return DurationText(position / kUnitsPerSecond);
}

int SliderValue(std::int64_t position, std::int64_t duration) {
  const std::int64_t seconds = duration / kUnitsPerSecond;
  if (seconds <= 0) return 0;
  return static_cast<int>(position / kUnitsPerSecond * kSliderRange / seconds);
}

std::int64_t SliderTarget(std::int64_t duration, int value) {
  return duration / kUnitsPerSecond * value / kSliderRange * kUnitsPerSecond;
}

std::int64_t SkipBackTarget(std::int64_t position, int seconds) {
  return std::max<std::int64_t>(0, position - seconds * kUnitsPerSecond);
}

std::int64_t SkipForwardTarget(std::int64_t position, int seconds) {
  return position + seconds * kUnitsPerSecond;
}

std::int64_t NearEndTarget(std::int64_t duration) {
  return std::max<std::int64_t>(0, duration - 2 * kUnitsPerSecond);
}

std::string SkipMenuTitle(const char* direction, int seconds) {
  char text[48];
  if (seconds >= 60) {
    std::snprintf(text, sizeof text, "SKIP %s: %i MIN", direction, seconds / 60);
  } else {
    std::snprintf(text, sizeof text, "SKIP %s: %i SECS", direction, seconds);
  }
  return text;
}

std::string TimeMenuTitle(TimeDisplayMode mode) {
  switch (mode) {
    case TimeDisplayMode::Remaining: return "DISPLAY: REMAINING TIME";
    case TimeDisplayMode::Hidden: return "DISPLAY: HIDE TIME";
    case TimeDisplayMode::Elapsed: break;
  }
  return "DISPLAY: ELAPSED TIME";
}

std::string SizeText(int width, int height) {
  char text[32];
  std::snprintf(text, sizeof text, "%i X %i", width, height);
  return text;
}
