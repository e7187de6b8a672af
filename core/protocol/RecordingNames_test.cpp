#include "core/protocol/RecordingNames.h"

#include <gtest/gtest.h>

namespace {
const CivilTime kSundayEvening{2026, 12, 6, 20, 5, 9};
}

TEST(RecordingNamesTest, ExamplesForSundayEvening) {
  EXPECT_EQ(StubFileName("D:\\TV\\", kSundayEvening), "D:\\TV\\stub_12620262059.dvr-ms");
  EXPECT_EQ(TimeshiftRecordingName("D:\\TV\\", kSundayEvening),
            "D:\\TV\\Sun-Dec6-2026_080509PM.dvr-ms");
  EXPECT_EQ(LiveRecordingName("D:\\TV\\", 7, 1, kSundayEvening),
            "D:\\TV\\Ch7-1_SunDec62026_080509PM.dvr-ms");
  EXPECT_EQ(TransportStreamRecordingName("D:\\TV\\", 7, 1, kSundayEvening),
            "D:\\TV\\Ch7-1_SunDec62026_080509PM.ts");
}

TEST(RecordingNamesTest, MidnightNoonAndAfternoon) {
  EXPECT_EQ(LiveRecordingName("", 9, 2, {2026, 12, 7, 0, 0, 0}), "Ch9-2_MonDec72026_120000AM.dvr-ms");
  EXPECT_EQ(LiveRecordingName("", 9, 2, {2026, 12, 7, 12, 0, 0}), "Ch9-2_MonDec72026_120000PM.dvr-ms");
  EXPECT_EQ(TimeshiftRecordingName("", {2026, 12, 7, 13, 5, 9}), "Mon-Dec7-2026_010509PM.dvr-ms");
}

TEST(RecordingNamesTest, MinorBelowZeroIsWrittenAsOneAndTheFolderIsAPlainPrefix) {
  EXPECT_EQ(ChannelText(7, -1), "Ch7-1");
  EXPECT_EQ(TransportStreamRecordingName("D:\\TV", 7, -1, kSundayEvening),
            "D:\\TVCh7-1_SunDec62026_080509PM.ts");
  EXPECT_EQ(StubFileName("D:\\TV", kSundayEvening), "D:\\TVstub_12620262059.dvr-ms");
}
