#include "recorder/SilentEventIntake.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"
#include "recorder/RecorderSetup.h"

namespace {

using Kind = SilentEventIntake::Kind;
using namespace std::chrono_literals;

class SilentEventIntakeTest : public ::testing::Test {
 protected:
  // The file, written `age` before now.
  std::filesystem::path WriteAged(std::string_view content, std::chrono::seconds age) {
    const auto file = folder.Write("silentevent.txt", content);
    std::filesystem::last_write_time(file, now - age);
    return file;
  }

  TestFolder folder;
  std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now();
};

TEST_F(SilentEventIntakeTest, FreshFileIsTakenAndDeleted) {
  const auto file = WriteAged("7 7 -1 22 0 2\nD:\\TV\\\n", 179s);
  const SilentEventIntake intake = SilentEventIntake::Take(file, now);
  ASSERT_EQ(Kind::Event, intake.kind);
  EXPECT_EQ(-1, intake.event->channel3);
  EXPECT_EQ(WhenDone::Shutdown, intake.event->whenDone);
  EXPECT_EQ("D:\\TV\\", intake.event->folder);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ("", intake.LogEntry(CivilTime{}));
  // Written 179 s ago: handed over at 21:57:01 when the recorder starts at 22:00.
  EXPECT_EQ((CivilTime{2026, 5, 4, 21, 57, 1}), intake.HandedOver(CivilTime{2026, 5, 4, 22, 0, 0}));
}

TEST_F(SilentEventIntakeTest, OldFileIsMovedAsideAndLogged) {
  folder.Write("silentevent.txt.old", "an earlier one");
  const auto file = WriteAged("7 7 1 22 0 0\nD:\\TV\\\n", 181s);
  const SilentEventIntake intake = SilentEventIntake::Take(file, now);
  EXPECT_EQ(Kind::TooOld, intake.kind);
  EXPECT_FALSE(intake.event);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ("7 7 1 22 0 0\nD:\\TV\\\n", folder.Read("silentevent.txt.old"));
  EXPECT_EQ("OLD SILENTEVENT.TXT NOT USED, MOVED TO SILENTEVENT.TXT.OLD: 5/4/2026-3:2:1\n",
            intake.LogEntry(CivilTime{2026, 5, 4, 3, 2, 1}));
}

TEST_F(SilentEventIntakeTest, MissingAndDamagedFilesMeanByHand) {
  EXPECT_EQ(Kind::None, SilentEventIntake::Take(folder / "silentevent.txt", now).kind);
  const auto file = WriteAged("7 7\n", 1s);
  const SilentEventIntake damaged = SilentEventIntake::Take(file, now);
  EXPECT_EQ(Kind::Damaged, damaged.kind);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ("DAMAGED SILENTEVENT.TXT NOT USED: 1/2/2027-0:0:5\n",
            damaged.LogEntry(CivilTime{2027, 1, 2, 0, 0, 5}));
}

TEST(RecorderSetupTest, ModelTitlesAndEventChannel) {
  TestFolder folder;
  folder.Write("tuner.txt", "Virtual Tuner\nVirtual Capture\n");
  folder.Write("channels.txt", "2\nWSVN 7 7 1\nWTTT 33 33 2\n");
  const RecorderSetup ts = RecorderSetup::Load(folder.Path(), RecorderVariant::TransportStream);
  ASSERT_TRUE(ts.model);
  EXPECT_EQ("Silent Record TS- Virtual Tuner", ts.ownTitle);
  EXPECT_EQ("Telvantis Scheduler TS- Virtual Tuner", ts.schedulerTitle);
  EXPECT_EQ("SOFTWARE\\Telvantis\\Virtual Tuner\\Record", ts.recordKey);
  const RecorderSetup dvrMs = RecorderSetup::Load(folder.Path(), RecorderVariant::DvrMs);
  EXPECT_EQ("Silent Record- Virtual Tuner", dvrMs.ownTitle);
  EXPECT_EQ("Telvantis Scheduler- Virtual Tuner", dvrMs.schedulerTitle);

  SilentEventHandOff event{33, 33, -2, 22, 0, WhenDone::Close, ""};
  EXPECT_EQ(1u, EventChannelIndex(ts.channels, event).value_or(99));
  EXPECT_EQ((TuneValues{33, 33, 2}), EventTuneValues(ts.channels, event));
  // A channel no longer in the list is still the one the event asked for.
  event = SilentEventHandOff{9, 9, 1, 22, 0, WhenDone::Close, ""};
  EXPECT_FALSE(EventChannelIndex(ts.channels, event));
  EXPECT_EQ((TuneValues{9, 9, 1}), EventTuneValues(ts.channels, event));
}

}  // namespace
