#include "viewer/StartupPlan.h"

#include <algorithm>

#include "core/tuning/TuningModel.h"

namespace {

// The model of the first tuner device, or nothing when there is no device or
// its name is not in the catalogue.
std::optional<int> DetectFromDevices(const FirstTunerDevice& firstTunerDevice) {
  const std::optional<std::string> name = firstTunerDevice ? firstTunerDevice() : std::nullopt;
  if (!name) return std::nullopt;
  return DetectModel(*name);
}

bool LacksTunerName(const StartupPlan& plan) {
  return plan.model == kTunerFileModel && plan.tuner.tuner.empty();
}

// The model of a first run: tuner.txt, else value 1 of config.txt (the only
// value a first run uses), else the first tuner device.
void PlanFirstRun(const StartupFiles& files, const FirstTunerDevice& firstTunerDevice,
                  StartupPlan& plan) {
  plan.firstRun = true;
  if (files.tuner) {
    plan.tuner = *files.tuner;
    plan.model = kTunerFileModel;
  } else if (files.config) {
    plan.model = files.config->tunerModel;
  } else if (const std::optional<int> detected = DetectFromDevices(firstTunerDevice)) {
    plan.model = *detected;
  } else {
    plan.abortMessage = kNoTunerFileAdvice;
  }
}

void PlanNormalRun(const StartupFiles& files, const StartupScreen& screen,
                   const FirstTunerDevice& firstTunerDevice, StartupPlan& plan) {
  plan.channels = *files.channels;
  if (files.tuner) {
    plan.tuner = *files.tuner;
    plan.model = kTunerFileModel;
  }
  if (files.config) {
    plan.config = *files.config;
    plan.model = files.config->tunerModel;
  } else if (plan.model != kTunerFileModel) {
    // An unknown device leaves no model: the graph build then fails.
    plan.model = DetectFromDevices(firstTunerDevice).value_or(-1);
    plan.config = DefaultViewerConfig(screen.screen, screen.panelClientWidth, plan.model);
  } else {
    plan.config = DefaultViewerConfig(screen.screen, screen.panelClientWidth, plan.model);
  }
}

// Where a start in full screen on the primary display returns to when full
// screen ends: the normal window size, centred at the top of the screen,
// made smaller where the screen is.
Rect NormalWindowOn(Size screen) {
  const int width = std::min(kDefaultVideoWidth, std::max(screen.width, 0));
  const int height = std::min(kDefaultVideoHeight, std::max(screen.height, 0));
  const int left = (screen.width - width) / 2;
  return Rect{left, 0, left + width, height};
}

}  // namespace

StartupPlan PlanStartup(const StartupFiles& files, const StartupScreen& screen,
                        const FirstTunerDevice& firstTunerDevice) {
  StartupPlan plan;
  if (!files.channels) {
    PlanFirstRun(files, firstTunerDevice, plan);
    if (plan.abortMessage) return plan;
    // A first run places the windows and sets the options as for a fresh
    // configuration.
    plan.config = DefaultViewerConfig(screen.screen, screen.panelClientWidth, plan.model);
  } else {
    PlanNormalRun(files, screen, firstTunerDevice, plan);
  }
  plan.config.tunerModel = plan.model;
  if (LacksTunerName(plan)) {
    plan.abortMessage = kNoTunerConfigured;
    return plan;
  }

  // A saved index of -1 (or any below 0) starts on the first channel, and so
  // does one beyond the list, which would otherwise tune an entry that does
  // not exist.
  int index = plan.config.currentChannel;
  if (index < 0 || static_cast<std::size_t>(index) >= plan.channels.size()) index = 0;
  plan.currentChannel = index;
  plan.config.currentChannel = index;

  if (!plan.firstRun && plan.config.fullScreen) {
    if (plan.config.fullScreenOnPrimary) {
      plan.videoRestore = NormalWindowOn(screen.screen);
    } else {
      const Rect saved = plan.config.videoWindow;
      plan.videoRestore = Rect{saved.left, saved.top, saved.right - 320, saved.bottom - 180};
    }
  }
  return plan;
}
