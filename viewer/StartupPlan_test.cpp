#include "viewer/StartupPlan.h"

#include <gtest/gtest.h>

namespace {

const StartupScreen kScreen{{1280, 1024}, 400};
const std::vector<ChannelEntry> kChannels{{"WABC", 7, 10, 1}, {"WXYZ", 30, 51, 2}};
const TunerNames kTunerFile{"Hauppauge WinTV 885 BDA Tuner/Demod", "Hauppauge WinTV 885 TS Capture"};

// A device list that records whether it was asked.
struct Devices {
  std::optional<std::string> first;
  mutable int asked = 0;
  FirstTunerDevice Get() const {
    return [this] {
      ++asked;
      return first;
    };
  }
};

ViewerConfig SavedConfig(int model, int channel) {
  ViewerConfig c = DefaultViewerConfig(kScreen.screen, kScreen.panelClientWidth, -1);
  c.tunerModel = model;
  c.currentChannel = channel;
  c.videoWindow = {100, 50, 746, 416};
  return c;
}

}  // namespace

TEST(StartupPlanTest, FirstRunDetectsTheModelFromTheFirstDevice) {
  Devices devices{"Hauppauge WinTV 885 BDA Tuner/Demod"};
  const StartupPlan plan = PlanStartup({}, kScreen, devices.Get());
  EXPECT_TRUE(plan.firstRun);
  EXPECT_EQ(plan.model, 17);
  EXPECT_FALSE(plan.abortMessage);
  EXPECT_TRUE(plan.channels.empty());
  EXPECT_EQ(plan.currentChannel, 0);
  // Fresh window places and options, and the detected model to be saved.
  ViewerConfig expected = DefaultViewerConfig(kScreen.screen, kScreen.panelClientWidth, 17);
  EXPECT_EQ(plan.config, expected);
  EXPECT_EQ(plan.config.videoWindow, (Rect{125, 0, 1155, 582}));
}

TEST(StartupPlanTest, FirstRunWithAnUnknownOrNoDeviceAdvisesTheSystemCheck) {
  Devices unknown{"Some Other Tuner"};
  EXPECT_EQ(PlanStartup({}, kScreen, unknown.Get()).abortMessage, "RUN TELVANTISINFO AND CREATE A TUNER.TXT FILE FIRST");
  Devices none{std::nullopt};
  EXPECT_EQ(PlanStartup({}, kScreen, none.Get()).abortMessage, "RUN TELVANTISINFO AND CREATE A TUNER.TXT FILE FIRST");
  // The detection name of model 10 has no trailing blank; the loader's has.
  Devices model10{"BDA 2881 TVTuner "};
  EXPECT_EQ(PlanStartup({}, kScreen, model10.Get()).abortMessage, "RUN TELVANTISINFO AND CREATE A TUNER.TXT FILE FIRST");
}

TEST(StartupPlanTest, FirstRunTakesTunerFileThenConfigBeforeDevices) {
  Devices devices{"ATI BDA Digital Tuner"};
  StartupFiles files;
  files.tuner = kTunerFile;
  files.config = SavedConfig(3, 0);
  StartupPlan plan = PlanStartup(files, kScreen, devices.Get());
  EXPECT_EQ(plan.model, 20);
  EXPECT_EQ(plan.tuner.capture, "Hauppauge WinTV 885 TS Capture");

  files.tuner.reset();
  plan = PlanStartup(files, kScreen, devices.Get());
  EXPECT_EQ(plan.model, 3);
  // Only value 1 of config.txt counts on a first run.
  EXPECT_EQ(plan.config.videoWindow, (Rect{125, 0, 1155, 582}));
  EXPECT_EQ(devices.asked, 0);
}

TEST(StartupPlanTest, AnEmptyTunerNameEndsStartUpInBothBranches) {
  Devices devices{"ATI BDA Digital Tuner"};
  StartupFiles files;
  files.tuner = TunerNames{"", "Capture"};
  EXPECT_EQ(PlanStartup(files, kScreen, devices.Get()).abortMessage, "NO TUNER.TXT CONFIGURED");
  files.channels = kChannels;
  EXPECT_EQ(PlanStartup(files, kScreen, devices.Get()).abortMessage, "NO TUNER.TXT CONFIGURED");
  // Model 20 saved in config.txt while tuner.txt has gone.
  files.tuner.reset();
  files.config = SavedConfig(20, 0);
  EXPECT_EQ(PlanStartup(files, kScreen, devices.Get()).abortMessage, "NO TUNER.TXT CONFIGURED");
}

TEST(StartupPlanTest, NormalRunTakesTheModelFromConfigOverTunerFile) {
  Devices devices{"ATI BDA Digital Tuner"};
  StartupFiles files;
  files.channels = kChannels;
  files.tuner = kTunerFile;
  files.config = SavedConfig(12, 1);
  const StartupPlan plan = PlanStartup(files, kScreen, devices.Get());
  EXPECT_FALSE(plan.firstRun);
  EXPECT_EQ(plan.model, 12);
  EXPECT_EQ(plan.tuner.tuner, kTunerFile.tuner);
  EXPECT_EQ(plan.currentChannel, 1);
  EXPECT_EQ(plan.config.videoWindow, (Rect{100, 50, 746, 416}));
  EXPECT_EQ(devices.asked, 0);
}

TEST(StartupPlanTest, NormalRunWithoutConfigDetectsUnlessTunerFileNamesTheTuner) {
  Devices devices{"ATI BDA Digital Tuner"};
  StartupFiles files;
  files.channels = kChannels;
  StartupPlan plan = PlanStartup(files, kScreen, devices.Get());
  EXPECT_EQ(plan.model, 11);
  EXPECT_EQ(plan.config, DefaultViewerConfig(kScreen.screen, kScreen.panelClientWidth, 11));

  files.tuner = kTunerFile;
  plan = PlanStartup(files, kScreen, devices.Get());
  EXPECT_EQ(plan.model, 20);
  EXPECT_EQ(devices.asked, 1);

  // An unknown device is no reason to stop here: the graph build fails.
  files.tuner.reset();
  devices.first = "Some Other Tuner";
  plan = PlanStartup(files, kScreen, devices.Get());
  EXPECT_EQ(plan.model, -1);
  EXPECT_FALSE(plan.abortMessage);
}

TEST(StartupPlanTest, ChannelIndexOutsideTheListStartsOnTheFirstChannel) {
  Devices devices{std::nullopt};
  StartupFiles files;
  files.channels = kChannels;
  files.config = SavedConfig(17, -1);
  EXPECT_EQ(PlanStartup(files, kScreen, devices.Get()).currentChannel, 0);
  files.config = SavedConfig(17, 2);
  const StartupPlan plan = PlanStartup(files, kScreen, devices.Get());
  EXPECT_EQ(plan.currentChannel, 0);
  EXPECT_EQ(plan.config.currentChannel, 0);
}

TEST(StartupPlanTest, FullScreenStartKeepsARestoreRectangle) {
  Devices devices{std::nullopt};
  StartupFiles files;
  files.channels = kChannels;
  files.config = SavedConfig(17, 0);
  EXPECT_FALSE(PlanStartup(files, kScreen, devices.Get()).videoRestore);
  files.config->fullScreen = true;
  EXPECT_EQ(PlanStartup(files, kScreen, devices.Get()).videoRestore, (Rect{125, 0, 1155, 582}));
  files.config->fullScreenOnPrimary = false;
  files.config->videoWindow = {1277, -3, 3203, 1083};
  EXPECT_EQ(PlanStartup(files, kScreen, devices.Get()).videoRestore, (Rect{1277, -3, 2883, 903}));
}

TEST(StartupPlanTest, FullScreenStartOnThePrimaryRestoresTheNormalSizeCentred) {
  Devices devices{std::nullopt};
  StartupFiles files;
  files.channels = kChannels;
  files.config = SavedConfig(17, 0);
  files.config->fullScreen = true;
  const auto restoreOn = [&](Size screen) {
    return PlanStartup(files, {screen, 400}, devices.Get()).videoRestore;
  };
  EXPECT_EQ(restoreOn({1280, 1024}), (Rect{125, 0, 1155, 582}));
  EXPECT_EQ(restoreOn({1920, 1080}), (Rect{445, 0, 1475, 582}));
  EXPECT_EQ(restoreOn({2560, 1440}), (Rect{765, 0, 1795, 582}));
  EXPECT_EQ(restoreOn({3840, 2160}), (Rect{1405, 0, 2435, 582}));
  // A screen smaller than the normal size: the window fits inside it.
  EXPECT_EQ(restoreOn({800, 600}), (Rect{0, 0, 800, 582}));
  EXPECT_EQ(restoreOn({1024, 480}), (Rect{0, 0, 1024, 480}));
}
