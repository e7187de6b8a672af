#pragma once

#include <filesystem>
#include <optional>

#include "core/files/ViewerConfig.h"
#include "core/geometry/Geometry.h"

// What the player shows of the position: elapsed, remaining or nothing.
enum class TimeDisplayMode { Elapsed = 0, Remaining = 1, Hidden = 2 };

// The players' settings, kept in playconfig.txt as twelve values. The aspect
// mode and the skip amounts start as the viewer's do.
struct PlayConfig {
  Rect videoWindow;                 // 1-4
  int panelLeft = 0;                // 5
  int panelTop = 0;                 // 6
  AspectMode aspectMode = ViewerConfig{}.aspectMode;        // 7: 1 = 16:9, 2 = 4:3
  int skipForwardSeconds = ViewerConfig{}.skipForwardSeconds;  // 8
  int skipBackSeconds = ViewerConfig{}.skipBackSeconds;        // 9
  bool primaryDisplay = true;       // 10
  bool keepTime = false;            // 11
  TimeDisplayMode timeDisplayMode = TimeDisplayMode::Elapsed;  // 12

  friend bool operator==(const PlayConfig&, const PlayConfig&) = default;
};

inline constexpr int kPlayConfigValueCount = 12;

// The settings used when playconfig.txt is missing: the video window 1030 x
// 582 centred at the top, the panel centred at three quarters of the height.
PlayConfig DefaultPlayConfig(Size screen, int panelClientWidth);

// Reads playconfig.txt over `defaults` (missing values keep their defaults)
// and applies the keep-time rules: keep time above 1 becomes off, a mode
// above 2 becomes elapsed, and without keep time the mode is elapsed.
// Nothing when the file cannot be opened.
std::optional<PlayConfig> ReadPlayConfig(const std::filesystem::path& file,
                                         const PlayConfig& defaults);

// Writes the twelve values, each followed by a line feed.
bool WritePlayConfig(const std::filesystem::path& file, const PlayConfig& config);
