#include "core/guide/RecordingPadding.h"

#include <gtest/gtest.h>

#include "core/testing/UsEasternZone.h"

namespace {

const ChannelEntry kChannel{"WAAA", 33, 7, -1};
const std::string kFolder = "D:\\Recordings\\";

GuideProgramme ProgrammeAt(std::int64_t startUtc, std::uint32_t length) {
  return {7, 1, 1, startUtc, length, "Programme", ""};
}

// The event's date and times as "month/day/year h:mm-h:mm".
std::string When(const ScheduleEvent& e) {
  return std::to_string(e.month) + "/" + std::to_string(e.day) + "/" + std::to_string(e.year) +
         " " + std::to_string(e.startHour) + ":" + std::to_string(e.startMinute) + "-" +
         std::to_string(e.endHour) + ":" + std::to_string(e.endMinute);
}

std::string PaddedWhen(std::int64_t startUtc, std::uint32_t length) {
  const GuideRecording r =
      PaddedRecordingEvent(ProgrammeAt(startUtc, length), kChannel, {}, kFolder, UsEasternZone());
  return r.event ? When(*r.event) : r.refusal;
}

}  // namespace

TEST(RecordingPaddingTest, ProgrammeAcrossMidnightBecomesOneTimeLiveRecording) {
  const UsEasternZone zone;
  // 11:30 PM to 12:30 AM EDT, padded by the defaults (1 and 2 minutes).
  const GuideRecording r =
      PaddedRecordingEvent(ProgrammeAt(Utc(2025, 6, 2, 3, 30), 3600), kChannel, {}, kFolder, zone);
  ASSERT_TRUE(r.event) << r.refusal;
  const ScheduleEvent expected{.dayOfWeek = 1, .month = 6, .day = 1, .year = 2025,  // a Sunday
                               .channel1 = 33, .channel2 = 7, .channel3 = -1,
                               .startHour = 23, .startMinute = 29, .endHour = 0, .endMinute = 32,
                               .type = EventType::RecordLive, .frequency = EventFrequency::Once,
                               .whenDone = WhenDone::Close, .folder = kFolder};
  EXPECT_EQ(*r.event, expected);
  EXPECT_EQ(IntervalOf(*r.event).end, (CivilTime{2025, 6, 2, 0, 32, 0}));

  // Seconds are rounded outwards: 8:00:30 PM for 29:59 ends at 8:30:29 PM.
  EXPECT_EQ(PaddedWhen(Utc(2025, 6, 2, 0, 0, 30), 1799), "6/1/2025 19:59-20:33");
  // Other padding; values outside 0..60 minutes are clamped.
  const GuideRecording wide = PaddedRecordingEvent(ProgrammeAt(Utc(2025, 6, 2, 0, 0), 1800),
                                                   kChannel, {10, 90}, kFolder, zone);
  ASSERT_TRUE(wide.event);
  EXPECT_EQ(When(*wide.event), "6/1/2025 19:50-21:30");
  const GuideRecording none = PaddedRecordingEvent(ProgrammeAt(Utc(2025, 6, 2, 0, 0), 1800),
                                                   kChannel, {-5, 0}, kFolder, zone);
  ASSERT_TRUE(none.event);
  EXPECT_EQ(When(*none.event), "6/1/2025 20:0-20:30");
}

TEST(RecordingPaddingTest, ClockChangesKeepTheWholeProgrammeRecorded) {
  // Spring: 1:30 AM EST for an hour ends at 3:30 AM EDT.
  EXPECT_EQ(PaddedWhen(Utc(2025, 3, 9, 6, 30), 3600), "3/9/2025 1:29-3:32");
  // Autumn, within the first pass of the repeated hour: as it is.
  EXPECT_EQ(PaddedWhen(Utc(2025, 11, 2, 5, 10), 1800), "11/2/2025 1:9-1:42");
  // Autumn, starting in the second pass: the event starts at the first 1:29
  // AM, an hour early, and stops at the only 2:32 AM.
  EXPECT_EQ(PaddedWhen(Utc(2025, 11, 2, 6, 30), 3600), "11/2/2025 1:29-2:32");
  // Autumn, 12:30 AM EDT to 1:30 AM EST: stopping at the first 1:32 AM would
  // lose the last hour, so the end moves to 2:00 AM.
  EXPECT_EQ(PaddedWhen(Utc(2025, 11, 2, 4, 30), 7200), "11/2/2025 0:29-2:0");
  // From 1:45 AM EDT to 1:15 AM EST: not an end before the start, but 2:00 AM.
  EXPECT_EQ(PaddedWhen(Utc(2025, 11, 2, 5, 45), 1800), "11/2/2025 1:44-2:0");
}

TEST(RecordingPaddingTest, WhatTheEventCannotHoldIsRefused) {
  // 23:56 from 8:00 PM fits, padded (7:59 PM to 7:58 PM the next day) ...
  EXPECT_EQ(PaddedWhen(Utc(2025, 6, 2, 0, 0), 23 * 3600 + 56 * 60), "6/1/2025 19:59-19:58");
  // ... one minute more would end when it starts, and 24:00 after it.
  EXPECT_EQ(PaddedWhen(Utc(2025, 6, 2, 0, 0), 23 * 3600 + 57 * 60),
            "PROGRAMME TOO LONG TO RECORD AS ONE EVENT");
  EXPECT_EQ(PaddedWhen(Utc(2025, 6, 2, 0, 0), 24 * 3600), "PROGRAMME TOO LONG TO RECORD AS ONE EVENT");
  EXPECT_EQ(PaddedWhen(Utc(2025, 6, 2, 0, 0), 3 * 24 * 3600),
            "PROGRAMME TOO LONG TO RECORD AS ONE EVENT");

  const GuideRecording longFolder = PaddedRecordingEvent(
      ProgrammeAt(Utc(2025, 6, 2, 0, 0), 1800), kChannel, {}, std::string(200, 'f'), UsEasternZone());
  EXPECT_FALSE(longFolder.event);
  EXPECT_EQ(longFolder.refusal, "FOLDER LONGER THAN 199 CHARACTERS");
}
