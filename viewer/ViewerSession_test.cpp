#include "viewer/ViewerSession.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/testing/TestFolder.h"

namespace {

const std::vector<ChannelEntry> kThree{
    {"WAAA", 7, 10, 1}, {"WBBB", 30, 51, 2}, {"WCCC", 30, 51, -3}};

StartupPlan Plan(std::vector<ChannelEntry> channels, int current) {
  StartupPlan plan;
  plan.model = 17;
  plan.channels = std::move(channels);
  plan.currentChannel = current;
  plan.config.tunerModel = 17;
  plan.config.currentChannel = current;
  return plan;
}

// The index a step leads to, or -1 when nothing changes.
int Steps(ViewerSession& session, ChannelStep step) {
  const std::optional<ChannelChange> change = session.Step(step, std::nullopt);
  return change ? change->index : -1;
}

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST(ViewerSessionTest, ChannelStepsWrapRecallSwapsAndIndexesAreChecked) {
  ViewerSession session(Plan(kThree, 1));
  EXPECT_EQ(session.PreviousIndex(), 1);  // nothing watched before
  // Recall before any change stays on the channel (and tunes it again).
  EXPECT_EQ(Steps(session, ChannelStep::Recall), 1);

  EXPECT_EQ(Steps(session, ChannelStep::Up), 2);
  EXPECT_EQ(Steps(session, ChannelStep::Up), 0);  // the last wraps to the first
  EXPECT_EQ(session.PreviousIndex(), 2);
  EXPECT_EQ(Steps(session, ChannelStep::Down), 2);  // the first wraps to the last
  EXPECT_EQ(Steps(session, ChannelStep::Down), 1);

  // Recall swaps the current and the previous channel; twice comes back.
  EXPECT_EQ(Steps(session, ChannelStep::Recall), 2);
  EXPECT_EQ(session.PreviousIndex(), 1);
  EXPECT_EQ(Steps(session, ChannelStep::Recall), 1);
  EXPECT_EQ(session.PreviousIndex(), 2);

  // A change tunes the entry's numbers.
  const std::optional<ChannelChange> change = session.GoTo(2, std::nullopt);
  ASSERT_TRUE(change);
  EXPECT_EQ(change->tune, (TuneValues{30, 51, -3}));
  EXPECT_EQ(session.CurrentChannel()->name, "WCCC");
  EXPECT_EQ(session.PreviousIndex(), 1);

  // Indexes outside the list change nothing, not even the previous channel.
  EXPECT_FALSE(session.GoTo(3, std::nullopt));
  EXPECT_FALSE(session.GoTo(-1, std::nullopt));
  EXPECT_EQ(session.CurrentIndex(), 2);
  EXPECT_EQ(session.PreviousIndex(), 1);

  // One channel: up, down and recall all stay on it.
  ViewerSession single(Plan({{"WONE", 9, 9, 1}}, 0));
  EXPECT_EQ(Steps(single, ChannelStep::Up), 0);
  EXPECT_EQ(Steps(single, ChannelStep::Down), 0);
  EXPECT_EQ(Steps(single, ChannelStep::Recall), 0);

  // An empty list: no step does anything and the tuner gets no channel.
  ViewerSession empty(Plan({}, 0));
  EXPECT_FALSE(empty.HasChannels());
  EXPECT_EQ(empty.CurrentChannel(), nullptr);
  EXPECT_EQ(empty.StartupTuning(), (TuneValues{-1, -1, -1}));
  for (ChannelStep step : {ChannelStep::Up, ChannelStep::Down, ChannelStep::Recall}) {
    EXPECT_FALSE(empty.Step(step, 1000.0f));
  }
  EXPECT_FALSE(empty.GoTo(0, std::nullopt));
  EXPECT_FALSE(empty.SwitchTo(0));
  EXPECT_FALSE(empty.FindByNumber(10, std::nullopt));
}

// The tuner feeds the recording: while one runs, no change of channel, by
// the user or the scheduler, touches the channel or what is kept per
// channel; once it ends, changes work again.
TEST(ViewerSessionTest, NoChannelChangesWhileARecordingRuns) {
  ViewerSession session(Plan(kThree, 1));
  session.Settings().perChannelVolume = true;
  session.GoTo(0, std::nullopt);
  session.GoTo(1, std::nullopt);  // channel 0 is the one to recall
  session.SetRecording(true);
  for (ChannelStep step : {ChannelStep::Up, ChannelStep::Down, ChannelStep::Recall}) {
    EXPECT_FALSE(session.Step(step, 20000.0f));
  }
  EXPECT_FALSE(session.GoTo(2, 20000.0f));
  EXPECT_FALSE(session.SwitchTo(2));
  EXPECT_EQ(session.CurrentIndex(), 1);
  EXPECT_EQ(session.PreviousIndex(), 0);

  // Timeshift alone holds nothing (its channel menu and keys retune).
  session.SetRecording(false);
  session.SetTimeshifting(true);
  const std::optional<ChannelChange> change = session.Step(ChannelStep::Up, std::nullopt);
  ASSERT_TRUE(change);
  EXPECT_EQ(change->index, 2);
  // No level was kept for channel 1 while the recording held it.
  EXPECT_FALSE(session.Step(ChannelStep::Recall, std::nullopt)->volume);
}

// The scheduler's START RECORD: at live the recording starts; timeshift
// ends first, as for the scheduler's change of channel; a running recording
// goes on and the scheduled one is refused.
TEST(ViewerSessionTest, AScheduledRecordingEndsTimeshiftButNeverARecording) {
  ViewerSession session(Plan(kThree, 0));
  EXPECT_EQ(session.AnswerScheduledRecording(), ScheduledRecording::Start);
  session.SetTimeshifting(true);
  EXPECT_EQ(session.AnswerScheduledRecording(), ScheduledRecording::EndTimeshiftThenStart);
  session.SetTimeshifting(false);
  session.SetRecording(true);
  EXPECT_EQ(session.AnswerScheduledRecording(), ScheduledRecording::Refuse);
  EXPECT_TRUE(session.ChannelHeld());
  session.SetRecording(false);
  EXPECT_FALSE(session.ChannelHeld());
}

TEST(ViewerSessionTest, PerChannelVolumeAndAspectAreKeptOnLeavingAndGivenBackOnArrival) {
  ViewerSession session(Plan(kThree, 0));
  // Options off: nothing is kept.
  EXPECT_FALSE(session.Step(ChannelStep::Up, 30000.0f)->volume);
  EXPECT_FALSE(session.Step(ChannelStep::Down, 30000.0f)->volume);

  session.Settings().perChannelVolume = true;
  session.Settings().perChannelAspect = true;
  session.Settings().aspectMode = AspectMode::Ratio4x3;
  // Channel 1 has nothing kept yet: no level, and the aspect stays.
  std::optional<ChannelChange> change = session.Step(ChannelStep::Up, 30000.0f);
  EXPECT_FALSE(change->volume);
  EXPECT_FALSE(change->aspectChanged);
  session.Settings().aspectMode = AspectMode::Ratio16x9;
  // Back on channel 0: its level and its 4:3 come back.
  change = session.Step(ChannelStep::Recall, 12000.0f);
  EXPECT_EQ(change->volume, 30000.0f);
  EXPECT_TRUE(change->aspectChanged);
  EXPECT_EQ(session.Settings().aspectMode, AspectMode::Ratio4x3);
  // A level that could not be read keeps what channel 0 had; the aspect kept
  // for channel 1 is the one it was left with.
  change = session.Step(ChannelStep::Recall, std::nullopt);
  EXPECT_EQ(change->volume, 12000.0f);
  EXPECT_TRUE(change->aspectChanged);
  EXPECT_EQ(session.Settings().aspectMode, AspectMode::Ratio16x9);
  change = session.Step(ChannelStep::Recall, std::nullopt);
  EXPECT_EQ(change->volume, 30000.0f);
  EXPECT_EQ(session.Settings().aspectMode, AspectMode::Ratio4x3);
  // Channel 1 kept 16:9, which is what now shows: no re-fit.
  session.Settings().aspectMode = AspectMode::Ratio16x9;
  EXPECT_FALSE(session.Step(ChannelStep::Recall, std::nullopt)->aspectChanged);
  EXPECT_EQ(session.Settings().aspectMode, AspectMode::Ratio16x9);
}

TEST(ViewerSessionTest, TypedAndScheduledChannelsAreFoundByTheirNumbers) {
  const std::vector<ChannelEntry> list{
      {"WAAA", 7, 5, 1}, {"WBBB", 30, 51, 2}, {"WCCC", 31, 51, -2}, {"WDDD", 32, 51, 2}};
  ViewerSession session(Plan(list, 0));
  EXPECT_EQ(session.FindByNumber(51, std::nullopt), 1);  // the first with major 51
  EXPECT_EQ(session.FindByNumber(51, 2), 1);
  EXPECT_EQ(session.FindByNumber(5, 1), 0);
  EXPECT_FALSE(session.FindByNumber(51, 3));
  EXPECT_FALSE(session.FindByNumber(6, std::nullopt));
  // The scheduler names the physical channel too; a minor kept as -2 is 2.
  EXPECT_EQ(session.FindByTuning(31, 51, 2), 2);
  EXPECT_EQ(session.FindByTuning(7, 5, -1), 0);
  EXPECT_FALSE(session.FindByTuning(33, 51, 2));

  // The scheduler's change leaves the previous channel alone.
  session.GoTo(3, std::nullopt);
  EXPECT_EQ(session.SwitchTo(2), (TuneValues{31, 51, -2}));
  EXPECT_EQ(session.CurrentIndex(), 2);
  EXPECT_EQ(session.PreviousIndex(), 0);
  EXPECT_FALSE(session.SwitchTo(4));
  EXPECT_EQ(session.CurrentIndex(), 2);
}

TEST(ViewerSessionTest, ExitSavesTheSelectedModelTheWindowsAndTheCurrentChannel) {
  StartupPlan plan = Plan(kThree, 1);
  plan.model = kTunerFileModel;
  plan.tuner = {"Telvantis Virtual Tuner", "Telvantis Virtual Capture"};
  plan.config.videoWindow = {1, 2, 3, 4};
  plan.config.skipForwardSeconds = 120;
  ViewerSession session(plan);
  ASSERT_NE(session.ModelRow(), nullptr);
  EXPECT_EQ(session.TimeshiftRegistryKey(), "SOFTWARE\\Telvantis\\Telvantis Virtual Tuner\\Timeshift");
  EXPECT_EQ(session.RecordRegistryKey(), "SOFTWARE\\Telvantis\\Telvantis Virtual Tuner\\Record");

  session.SelectModel(8);
  session.Step(ChannelStep::Up, std::nullopt);
  session.Settings().overscan = false;
  const ViewerConfig saved = session.ConfigToSave({{100, 50, 746, 416}, 30, 700});
  EXPECT_EQ(saved.tunerModel, 8);
  EXPECT_EQ(saved.videoWindow, (Rect{100, 50, 746, 416}));
  EXPECT_EQ(saved.panelLeft, 30);
  EXPECT_EQ(saved.panelTop, 700);
  EXPECT_EQ(saved.currentChannel, 2);
  EXPECT_EQ(saved.skipForwardSeconds, 120);
  EXPECT_EQ(saved.skipBackSeconds, 15);
  EXPECT_FALSE(saved.overscan);
  EXPECT_EQ(session.Model(), kTunerFileModel);  // the model in use stays

  // A number the catalogue does not hold: no row and no keys.
  StartupPlan unknown = Plan(kThree, 0);
  unknown.model = -1;
  EXPECT_EQ(ViewerSession(unknown).ModelRow(), nullptr);
  EXPECT_EQ(ViewerSession(unknown).TimeshiftRegistryKey(), "");
}

TEST(ViewerSessionTest, ChannelVolumesAreReadAndWrittenOnlyWithSavePerChannelVolume) {
  TestFolder folder;
  const auto file = folder.Write("chvols.txt", "1200\n-1\n800.5\n");
  StartupPlan plan = Plan(kThree, 2);
  ViewerSession off(plan);
  EXPECT_FALSE(off.LoadChannelVolumes(file));
  EXPECT_TRUE(off.SaveChannelVolumes(folder / "off.txt", 5000.0f));
  EXPECT_FALSE(std::filesystem::exists(folder / "off.txt"));

  plan.config.savePerChannelVolume = true;
  plan.config.perChannelVolume = true;
  ViewerSession session(plan);
  EXPECT_EQ(session.LoadChannelVolumes(folder / "missing.txt"), std::nullopt);
  EXPECT_EQ(session.LoadChannelVolumes(file), 800.5f);
  // What was read comes back on arriving at channel 0; channel 1 has none.
  EXPECT_EQ(session.GoTo(0, std::nullopt)->volume, 1200.0f);
  EXPECT_FALSE(session.GoTo(1, std::nullopt)->volume);
  EXPECT_TRUE(session.SaveChannelVolumes(file, 65535.0f));
  EXPECT_EQ(FileText(file), "1200\n65535\n800.5\n");

  // A current level of -1 in the file sets nothing at start.
  plan.currentChannel = 1;
  ViewerSession onMinusOne(plan);
  EXPECT_FALSE(onMinusOne.LoadChannelVolumes(folder.Write("b.txt", "5\n-1\n")));

  // No channels: nothing is written.
  ViewerSession empty(Plan({}, 0));
  empty.Settings().savePerChannelVolume = true;
  EXPECT_TRUE(empty.SaveChannelVolumes(folder / "empty.txt", 100.0f));
  EXPECT_FALSE(std::filesystem::exists(folder / "empty.txt"));
}

TEST(ViewerSessionTest, MinimisingMutesOnlyWhenAskedAndRestoringUndoesOnlyThatMute) {
  ViewerSession session;
  EXPECT_FALSE(session.MuteForMinimise());  // Mute On Minimize is off
  session.Settings().muteOnMinimize = true;
  session.SetMuted(true);
  EXPECT_FALSE(session.MuteForMinimise());  // already muted by the user
  EXPECT_FALSE(session.UnmuteForRestore());
  session.SetMuted(false);
  EXPECT_TRUE(session.MuteForMinimise());
  session.SetMuted(true);
  EXPECT_TRUE(session.UnmuteForRestore());
  EXPECT_FALSE(session.UnmuteForRestore());  // once
}
