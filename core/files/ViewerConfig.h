#pragma once

#include <filesystem>
#include <optional>

#include "core/geometry/Geometry.h"
#include "core/geometry/VideoPosition.h"

// The viewer's settings, kept in config.txt as 24 values in this order.
struct ViewerConfig {
  int tunerModel = -1;                      // 1
  Rect videoWindow;                         // 2-5: left, top, right, bottom
  int panelLeft = 0;                        // 6
  int panelTop = 0;                         // 7
  AspectMode aspectMode = AspectMode::Ratio16x9;  // 8: 1 = 16:9, 2 = 4:3
  bool fullScreen = false;                  // 9
  bool alwaysOnTop = false;                 // 10
  int currentChannel = 0;                   // 11: index into channels.txt
  bool displayChannelNumber = true;         // 12
  bool displayRemoteChannelNumber = true;   // 13
  bool displayVolume = true;                // 14
  bool lockResize = true;                   // 15
  bool perChannelAspect = false;            // 16
  bool overscan = true;                     // 17
  bool muteOnMinimize = false;              // 18
  bool perChannelVolume = false;            // 19
  int skipForwardSeconds = 60;              // 20
  int skipBackSeconds = 15;                 // 21
  bool fullScreenOnPrimary = true;          // 22
  bool displayTransparent = true;           // 23
  bool savePerChannelVolume = false;        // 24

  friend bool operator==(const ViewerConfig&, const ViewerConfig&) = default;
};

inline constexpr int kConfigValueCount = 24;

// The aspect mode as the settings files hold it (config.txt value 8, the
// players' value 7). Reading takes 2 as 4:3 and any other number as 16:9,
// which is how the picture has always been placed for it.
AspectMode AspectModeFromFileValue(int value);
int FileValueOf(AspectMode mode);
inline constexpr int kDefaultVideoWidth = 1030;
inline constexpr int kDefaultVideoHeight = 582;

// The settings used when config.txt is missing: a 1030 x 582 video window
// centred at the top of the screen and the control panel centred at three
// quarters of the screen height (computed values truncated toward zero).
ViewerConfig DefaultViewerConfig(Size screen, int panelClientWidth, int tunerModel);

// Reads config.txt over `defaults`. Nothing when the file cannot be opened.
// Values that are missing (a short file, or stray text where a number should
// be) keep their defaults. Value 11 below 0 reads as 0; value 23 above 1 as 1;
// value 24 above 1 as 0; other flags are true when not 0.
std::optional<ViewerConfig> ReadViewerConfig(const std::filesystem::path& file,
                                             const ViewerConfig& defaults);

// Writes all 24 values, one per line with no line feed after the last,
// flags as 1 or 0.
bool WriteViewerConfig(const std::filesystem::path& file, const ViewerConfig& config);

// Replaces value 11 (the current channel index) and keeps the rest of the
// file as it was, character for character, stray text and the values after
// it included. Returns false, leaving the file untouched, when it cannot be
// read or the reader finds fewer than 11 values in it.
bool RewriteCurrentChannel(const std::filesystem::path& file, int channelIndex);
