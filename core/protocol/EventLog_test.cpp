#include "core/protocol/EventLog.h"

#include <gtest/gtest.h>

// The viewer's own entries in scheduler.txt: the end of a recording, and a
// scheduled recording that came while another ran. The refusal carries the
// same stamp as the scheduler's "RECORD LIVE: " entry it answers.
TEST(EventLogTest, TheViewersEntries) {
  EXPECT_EQ(EventLog::RecordingStopped(9, 5, 7), "RECORDING STOPPED: 9:5:7\n\n");
  EXPECT_EQ(EventLog::RecordLiveRefused(CivilTime{2026, 12, 6, 20, 5, 9}),
            "RECORD LIVE REFUSED, ALREADY RECORDING: 12/6/2026-20:5:9\n\n");
  EXPECT_EQ(EventLog::RecordLiveEndPassed(CivilTime{2026, 12, 6, 20, 5, 9}),
            "RECORD LIVE NOT STARTED, END TIME PASSED: 12/6/2026-20:5:9\n\n");
  EXPECT_EQ(EventLog::EventStarted(EventType::RecordLive, CivilTime{2026, 12, 6, 20, 5, 0}),
            "RECORD LIVE: 12/6/2026-20:5:0\n\n");
}
