#include "scheduler/EventIntake.h"

#include <gtest/gtest.h>

#include "core/schedule/ScheduleFile.h"
#include "core/testing/TestFolder.h"

namespace {

const std::vector<ChannelEntry> kChannels = {{"KDOC", 33, 7, -1}, {"KABC", 41, 9, 2}};
const CivilTime kNow{2008, 1, 7, 18, 0, 0};  // Monday

ScheduleEvent Recording(int startHour, int startMinute, int endHour, int endMinute) {
  ScheduleEvent event;
  event.dayOfWeek = 2; event.month = 1; event.day = 7; event.year = 2008;
  event.channel1 = 33; event.channel2 = 7; event.channel3 = 1;  // matches 33 7 -1
  event.startHour = startHour; event.startMinute = startMinute;
  event.endHour = endHour; event.endMinute = endMinute;
  event.folder = "D:\\Rec\\";
  return event;
}

}  // namespace

TEST(EventIntake, AcceptsAndRefusesWithTheWindowsTexts) {
  ScheduleList list;
  const auto first = EventIntake::Accept(list, Recording(20, 0, 21, 0), kChannels, kNow);
  ASSERT_EQ(first.index, 0u);
  // Touching ends are no overlap; one minute into the other is.
  EXPECT_EQ(EventIntake::Accept(list, Recording(21, 0, 22, 0), kChannels, kNow).index, 1u);
  EXPECT_EQ(EventIntake::Accept(list, Recording(20, 59, 21, 30), kChannels, kNow).message,
            "START TIME BETWEEN EXISTING TIME");
  EXPECT_EQ(EventIntake::Accept(list, Recording(19, 30, 20, 1), kChannels, kNow).message,
            "END TIME BETWEEN EXISTING TIME");
  EXPECT_EQ(EventIntake::Accept(list, Recording(18, 0, 18, 30), kChannels, kNow).message,
            "START TIME HAS PASSED");
  ScheduleEvent longFolder = Recording(23, 0, 23, 30);
  longFolder.folder = std::string(200, 'f');
  EXPECT_EQ(EventIntake::Accept(list, longFolder, kChannels, kNow).message,
            "FOLDER LONGER THAN 199 CHARACTERS");
  longFolder.folder.pop_back();  // 199 characters fit
  EXPECT_TRUE(EventIntake::Accept(list, longFolder, kChannels, kNow).index);
  ScheduleEvent elsewhere = Recording(23, 30, 23, 45);
  elsewhere.channel1 = 34;
  EXPECT_EQ(EventIntake::Accept(list, elsewhere, kChannels, kNow).message,
            "CHANNEL IS NOT IN THE CHANNEL LIST");
  EXPECT_EQ(list.Count(), 3u);  // every refusal left the list as it was
}

TEST(EventIntake, EditReplacesTheEditedEventOnly) {
  ScheduleList list;
  ASSERT_TRUE(EventIntake::Accept(list, Recording(20, 0, 21, 0), kChannels, kNow).index);
  ASSERT_TRUE(EventIntake::Accept(list, Recording(21, 0, 22, 0), kChannels, kNow).index);
  // Moving the first half an hour later overlaps only itself, which is skipped.
  const auto moved = EventIntake::Accept(list, Recording(19, 30, 20, 30), kChannels, kNow,
                                         Recording(20, 0, 21, 0));
  EXPECT_EQ(moved.index, 0u);
  EXPECT_EQ(list.At(0).startMinute, 30);
  EXPECT_EQ(EventIntake::Accept(list, Recording(20, 0, 21, 30), kChannels, kNow,
                                Recording(19, 30, 20, 30)).message,
            "END TIME BETWEEN EXISTING TIME");
  // The edited event has run meanwhile: the edit is refused, nothing added.
  EXPECT_EQ(EventIntake::Accept(list, Recording(23, 0, 23, 30), kChannels, kNow,
                                Recording(20, 0, 21, 0)).message,
            "EVENT HAS ALREADY RUN OR BEEN REMOVED");
  EXPECT_EQ(list.Count(), 2u);
}

TEST(EventIntake, GuideHandOffIsAnsweredWithTheSameText) {
  TestFolder folder;
  ScheduleList list;
  ASSERT_TRUE(EventIntake::Accept(list, Recording(20, 0, 21, 0), kChannels, kNow).index);
  // No file: no answer is due.
  EXPECT_FALSE(EventIntake::TakeGuideEvent(folder.Path(), list, kChannels, kNow));

  const GuideEventHandOff accepted{5, Recording(21, 0, 21, 30)};
  ASSERT_EQ(HandOffFiles::OfferGuideEvent(folder / "guideevent.txt", accepted).outcome,
            GuideOffer::Outcome::Written);
  const auto added = EventIntake::TakeGuideEvent(folder.Path(), list, kChannels, kNow);
  ASSERT_TRUE(added);
  EXPECT_EQ(added->index, 1u);
  EXPECT_EQ(folder.Read("guideanswer.txt"), "5\nOK\n");
  EXPECT_EQ(folder.Read("guideevent.txt"), "<missing>");
  EXPECT_EQ(list.At(1), accepted.event);

  // The same overlapping event from the window and from the guide.
  const ScheduleEvent overlapping = Recording(20, 30, 21, 15);
  ScheduleList copy = list;
  const std::string windowText = EventIntake::Accept(copy, overlapping, kChannels, kNow).message;
  ASSERT_EQ(HandOffFiles::OfferGuideEvent(folder / "guideevent.txt", {6, overlapping}).outcome,
            GuideOffer::Outcome::Written);
  const auto refused = EventIntake::TakeGuideEvent(folder.Path(), list, kChannels, kNow);
  ASSERT_TRUE(refused);
  EXPECT_FALSE(refused->index);
  EXPECT_EQ(refused->answer.text, windowText);
  EXPECT_EQ(folder.Read("guideanswer.txt"), "6\nSTART TIME BETWEEN EXISTING TIME\n");
  EXPECT_EQ(list.Count(), 2u);

  // A damaged file is deleted and answered for whatever request was waiting.
  folder.Write("guideevent.txt", "7\n1\n2 1 7 2008 33 7\n");
  const auto damaged = EventIntake::TakeGuideEvent(folder.Path(), list, kChannels, kNow);
  ASSERT_TRUE(damaged);
  EXPECT_EQ(folder.Read("guideanswer.txt"),
            "0\nTHE GUIDE'S EVENT FILE IS DAMAGED: NOTHING WAS SCHEDULED\n");
  EXPECT_EQ(folder.Read("guideevent.txt"), "<missing>");
  EXPECT_EQ(list.Count(), 2u);
}
