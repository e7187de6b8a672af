#include "recorder/RecorderSession.h"

#include <gtest/gtest.h>

namespace {

using ProgramProtocol::RecorderReport;

const CivilTime kStart{2026, 12, 7, 20, 59, 30};
const CivilTime kEnd{2026, 12, 7, 22, 0, 0};

TEST(RecorderSessionTest, RecordingByHand) {
  RecorderSession session(RecorderVariant::TransportStream);
  EXPECT_EQ("NO DURATION SPECIFIED", session.RefuseStart({0, 0}).value_or(""));
  EXPECT_FALSE(session.RefuseStart({0, 1}));
  EXPECT_TRUE(session.Shows("CAN'T LOAD MPEG2 DEMULTIPLEXER"));
  EXPECT_EQ("START SILENT-RECORD: 12/7/2026-20:59:30\n",
            session.Started(kStart, RecordingClock::ForSpan(kStart, {0, 1})));
  EXPECT_EQ(RecorderReport::StartedByUser, session.StartReport());
  // By hand the stop logs nothing and never asks for a shutdown.
  const auto stop = session.Stop(StopReason::EndOfTime, kEnd);
  EXPECT_EQ("", stop.log);
  EXPECT_FALSE(stop.postShutdown);
}

TEST(RecorderSessionTest, TimerShowsHidesAndStops) {
  RecorderSession session(RecorderVariant::DvrMs);
  session.BeginScheduled(false);
  EXPECT_FALSE(session.RefuseStart({0, 0}));  // the event's end decides
  session.Started(kStart, RecordingClock::ForEvent(kStart, kStart, 21, 0));
  EXPECT_EQ(RecorderReport::StartedForEvent, session.StartReport());
  CivilTime now = kStart;
  RecorderSession::Tick tick;
  std::vector<int> hiddenAt;
  for (int second = 1; second <= 30; ++second) {
    now = AddSeconds(now, 1);
    tick = session.OnTimer(now);
    if (tick.hide) hiddenAt.push_back(second);
    if (tick.stop) break;
  }
  EXPECT_EQ(std::vector<int>{8}, hiddenAt);
  EXPECT_TRUE(tick.stop);
  EXPECT_EQ("0:00:30", tick.elapsedText);
  EXPECT_EQ(100, tick.percent);
  EXPECT_EQ((CivilTime{2026, 12, 7, 21, 0, 0}), now);
}

TEST(RecorderSessionTest, ShutdownOnlyWhenTheEventRanOut) {
  const auto stopWith = [](StopReason reason) {
    RecorderSession session(RecorderVariant::TransportStream);
    session.BeginScheduled(true);
    session.Started(kStart, RecordingClock::ForEvent(kStart, kStart, 22, 0));
    return session.Stop(reason, kEnd);
  };
  const auto byTime = stopWith(StopReason::EndOfTime);
  EXPECT_TRUE(byTime.postShutdown);
  EXPECT_EQ("STOPPED SILENT-RECORD: 12/7/2026-22:0:0\n\n", byTime.log);
  EXPECT_FALSE(stopWith(StopReason::User).postShutdown);
  EXPECT_FALSE(stopWith(StopReason::Closed).postShutdown);
  EXPECT_FALSE(stopWith(StopReason::BuildFailed).postShutdown);
  // A full disk ends the recording as its end would, and the log says why.
  const auto diskFull = stopWith(StopReason::WriteFailure);
  EXPECT_TRUE(diskFull.postShutdown);
  EXPECT_EQ(
      "RECORDING FILE WRITE FAILED: 12/7/2026-22:0:0\nSTOPPED SILENT-RECORD: 12/7/2026-22:0:0\n\n",
      diskFull.log);
  // Another abort of the graph likewise, with its own line.
  const auto aborted = stopWith(StopReason::Aborted);
  EXPECT_TRUE(aborted.postShutdown);
  EXPECT_EQ(
      "RECORDING ABORTED BY THE GRAPH: 12/7/2026-22:0:0\nSTOPPED SILENT-RECORD: 12/7/2026-22:0:0\n\n",
      aborted.log);
}

TEST(RecorderSessionTest, ScheduledModeShowsOnlyTheDumpAndTeeFailures) {
  RecorderSession ts(RecorderVariant::TransportStream);
  ts.BeginScheduled(false);
  for (const char* text : {"CAN'T ADD INFPINTEE", "CAN'T CONNECT INFPINTEE", "CAN'T ADD TSDUMP",
                           "CAN'T CONNECT TSDUMP", "CAN'T QI FILESINKFILTER",
                           "CAN'T SETFILENAME"}) {
    EXPECT_TRUE(ts.Shows(text)) << text;
  }
  EXPECT_FALSE(ts.Shows("CAN'T LOAD ATI DTV Wonder Digital BDA Tuner"));
  EXPECT_FALSE(ts.Shows("CAN'T BUILD GRAPH"));
  RecorderSession dvrMs(RecorderVariant::DvrMs);
  dvrMs.BeginScheduled(false);
  EXPECT_FALSE(dvrMs.Shows("CAN'T ADD TSDUMP"));
  EXPECT_FALSE(dvrMs.Shows("NO SINK"));
}

TEST(RecordingFileNameTest, MondayAfternoonInBothVariants) {
  const CivilTime monday{2026, 12, 7, 13, 5, 9};
  EXPECT_EQ("D:\\TV\\Ch7-1_MonDec72026_010509PM.ts",
            RecordingFileName(RecorderVariant::TransportStream, "D:\\TV\\", 7, -1, monday));
  EXPECT_EQ("D:\\TV\\Ch33-2_MonDec72026_010509PM.dvr-ms",
            RecordingFileName(RecorderVariant::DvrMs, "D:\\TV\\", 33, 2, monday));
}

}  // namespace

#include "recorder/WindowPlacement.h"

namespace {

TEST(WindowPlacementTest, BesideTheTaskbarOnEachSide) {
  const Size screen{1280, 1024};
  const Size window{300, 200};
  EXPECT_EQ((Point{980, 784}), PlaceBesideTaskbar({0, 984, 1280, 1024}, screen, window));
  EXPECT_EQ((Point{980, 40}), PlaceBesideTaskbar({0, 0, 1280, 40}, screen, window));
  EXPECT_EQ((Point{60, 824}), PlaceBesideTaskbar({0, 0, 60, 1024}, screen, window));
  EXPECT_EQ((Point{920, 824}), PlaceBesideTaskbar({1220, 0, 1280, 1024}, screen, window));
}

}  // namespace
