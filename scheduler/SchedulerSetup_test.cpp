#include "scheduler/SchedulerSetup.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

TEST(SchedulerSetup, ModelTitlesDelayAndChannels) {
  TestFolder folder;
  EXPECT_EQ(SchedulerSetup::Load(folder.Path(), SchedulerVariant::DvrMs).error,
            "YOU NEED TO SETUP YOUR CHANNEL LIST IN TELVANTIS BEFORE RUNNING SCHEDULER");
  folder.Write("channels.txt", "1\nKAAA 20 2 1\n");
  folder.Write("config.txt", "5\n");
  folder.Write("delay.txt", "7");
  auto setup = SchedulerSetup::Load(folder.Path(), SchedulerVariant::TransportStream);
  EXPECT_EQ(setup.error, "");
  EXPECT_EQ(setup.ownTitle, "Telvantis Scheduler TS- VBox TV Tuner");
  EXPECT_EQ(setup.engineSettings.recorderTitle, "Silent Record TS- VBox TV Tuner");
  EXPECT_EQ(setup.engineSettings.delaySeconds, 7);
  EXPECT_EQ(setup.wakeUpTaskName, "Telvantis Standby4");
  EXPECT_EQ(setup.channels.size(), 1u);
  // A readable tuner.txt selects model 20 and names the titles.
  folder.Write("tuner.txt", "My Tuner\nMy Capture\n");
  setup = SchedulerSetup::Load(folder.Path(), SchedulerVariant::DvrMs);
  EXPECT_EQ(setup.ownTitle, "Telvantis Scheduler- My Tuner");
  EXPECT_EQ(setup.engineSettings.viewerTitle, "Telvantis- My Tuner");
  EXPECT_EQ(setup.wakeUpTaskName, "Telvantis Standby My Tuner");
}
