#include "graph/RecordingGraphEvents.h"

#include <gtest/gtest.h>

TEST(RecordingGraphEventsTest, WriteFailuresAndAbortsEndARecordingOtherEventsDoNot) {
  using namespace graph_events;
  // The stream buffer's own write failure, whatever writes the file.
  EXPECT_EQ(RecordingEndOf(kStreamBufferWriteFailure, false), RecordingEnd::WriteFailure);
  // An abort is a write failure only where our dump filter writes the file.
  for (long abort : {kErrorAbort, kStreamErrorStopped}) {
    EXPECT_EQ(RecordingEndOf(abort, true), RecordingEnd::WriteFailure);
    EXPECT_EQ(RecordingEndOf(abort, false), RecordingEnd::Aborted);
  }
  // EC_COMPLETE, EC_PAUSED, the stream buffer's time hole: news only.
  for (long news : {0x01L, 0x0EL, 0x0326L}) EXPECT_EQ(RecordingEndOf(news, false), RecordingEnd::None);
}
