#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/geometry/Geometry.h"
#include "core/files/TunerFiles.h"
#include "core/files/ViewerConfig.h"

// The decisions of the viewer's start-up, taken from the shared text files
// before anything is built: which branch (first run without channels.txt, or
// a normal run), which tuner model, and whether start-up must end with a
// message. The files are read by the caller; the first tuner device is asked
// for only when the model has to be detected from it.

struct StartupFiles {
  std::optional<std::vector<ChannelEntry>> channels;  // nothing: no channels.txt
  std::optional<TunerNames> tuner;                    // nothing: no tuner.txt
  std::optional<ViewerConfig> config;                 // nothing: no config.txt
};

struct StartupScreen {
  Size screen;
  int panelClientWidth = 0;
};

inline constexpr char kNoTunerFileAdvice[] = "RUN TELVANTISINFO AND CREATE A TUNER.TXT FILE FIRST";
inline constexpr char kNoTunerConfigured[] = "NO TUNER.TXT CONFIGURED";

struct StartupPlan {
  bool firstRun = false;
  int model = -1;                    // the model in use (and the one selected)
  TunerNames tuner;                  // empty unless tuner.txt was read
  std::vector<ChannelEntry> channels;
  ViewerConfig config;               // settings and window places to apply
  int currentChannel = 0;            // index into channels (0 when empty)
  std::optional<Rect> videoRestore;  // when starting in full screen
  std::optional<std::string> abortMessage;  // shown before start-up ends
};

// Returns the friendly name of the first BDA network tuner device, or
// nothing when there is none (or the devices cannot be listed).
using FirstTunerDevice = std::function<std::optional<std::string>()>;

StartupPlan PlanStartup(const StartupFiles& files, const StartupScreen& screen,
                        const FirstTunerDevice& firstTunerDevice);
