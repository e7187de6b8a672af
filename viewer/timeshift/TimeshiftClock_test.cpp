#include "viewer/timeshift/TimeshiftClock.h"

#include <gtest/gtest.h>

namespace {

CivilTime At(int hour, int minute, int second) { return CivilTime{2026, 12, 8, hour, minute, second}; }

}  // namespace

TEST(TimeshiftClockTest, BehindLiveFieldShowsHoursMinutesSecondsOrLive) {
  EXPECT_EQ(BehindLiveText(0), "00:00:00");
  EXPECT_EQ(BehindLiveText(20), "-00:00:20");
  EXPECT_EQ(BehindLiveText(95), "-00:01:35");
  EXPECT_EQ(BehindLiveText(10 * 3600 + 10 * 60 + 9), "-10:10:09");
}

TEST(TimeshiftClockTest, PauseAddsTheTimeSpentPausedWhenPlayResumes) {
  TimeshiftClock clock;
  clock.Start(At(20, 0, 0));
  clock.Pause(At(20, 0, 10));
  EXPECT_EQ(clock.BehindLiveWhilePaused(At(20, 0, 25)), 15);
  EXPECT_TRUE(clock.Play(At(20, 1, 45)));  // 95 seconds from live
  EXPECT_EQ(BehindLiveText(clock.BehindLive()), "-00:01:35");
  EXPECT_FALSE(clock.Paused());
  EXPECT_FALSE(clock.Play(At(20, 2, 0)));  // not paused: nothing changes
  EXPECT_EQ(clock.BehindLive(), 95);
  // A second pause adds to the delay already there.
  clock.Pause(At(20, 3, 0));
  clock.Play(At(20, 3, 20));
  EXPECT_EQ(clock.BehindLive(), 115);
}

TEST(TimeshiftClockTest, SkipsMoveTheDelayByTheSkipOrByWhatTheBufferHolds) {
  TimeshiftClock clock;
  clock.Start(At(20, 0, 0));
  // 15 s back at 10 s into the buffer adds 10 s, not 15.
  clock.SkipBack(10, 15);
  EXPECT_EQ(clock.BehindLive(), 10);
  clock.SkipBack(300, 15);
  // Past a time hole the delay shrinks by the hole, never below live.
  clock.PassTimeHole(5);
  EXPECT_EQ(clock.BehindLive(), 20);
  clock.PassTimeHole(50);
  EXPECT_EQ(clock.BehindLive(), 0);
  clock.SkipBack(300, 25);
  EXPECT_EQ(clock.BehindLive(), 25);
  // Within the delay a skip forward seeks by its size.
  clock.SkipBack(300, 15);
  clock.SkipBack(300, 15);
  clock.SkipBack(300, 15);
  clock.SkipBack(300, 15);
  clock.SkipBack(300, 15);
  EXPECT_EQ(clock.BehindLive(), 100);
  EXPECT_EQ(clock.SkipForward(60), 60);
  EXPECT_EQ(clock.BehindLive(), 40);
  // 40 s behind with a 60 s skip: at live, seeking 90 s forward.
  EXPECT_EQ(clock.SkipForward(60), 90);
  EXPECT_EQ(BehindLiveText(clock.BehindLive()), "00:00:00");
}

TEST(TimeshiftClockTest, JumpsGoToTheBufferStartOrBackToLive) {
  TimeshiftClock clock;
  clock.Start(At(20, 0, 0));
  clock.JumpToStart(At(20, 4, 30));
  EXPECT_EQ(clock.BehindLive(), 270);
  EXPECT_EQ(clock.JumpToLive(), 270);
  EXPECT_EQ(clock.BehindLive(), 0);
  clock.Pause(At(20, 5, 0));
  clock.Stop();
  EXPECT_FALSE(clock.Paused());
}

TEST(TimeshiftClockTest, FrozenBufferCountsDownWhatIsLeftToPlay) {
  TimeshiftClock clock;
  clock.Start(At(20, 0, 0));
  clock.JumpToStart(At(20, 1, 0));  // 60 s left
  clock.FreezeBuffer();
  // Paused, the end no longer moves: play adds nothing.
  clock.Pause(At(20, 1, 0));
  EXPECT_FALSE(clock.Play(At(20, 2, 0)));
  EXPECT_EQ(clock.BehindLive(), 60);
  EXPECT_TRUE(clock.FrozenQuarterMinute());   // 45
  EXPECT_TRUE(clock.FrozenQuarterMinute());   // 30
  EXPECT_FALSE(clock.FrozenQuarterMinute());  // 30 or less: on to timer 7
  EXPECT_EQ(clock.BehindLive(), 30);
  for (int left = 30; left >= 1; --left) {
    ASSERT_EQ(clock.FrozenSecond(), "-00:00:" + std::string(left < 10 ? "0" : "") +
                                        std::to_string(left));
  }
  EXPECT_EQ(clock.FrozenSecond(), std::nullopt);
  clock.Start(At(21, 0, 0));
  EXPECT_FALSE(clock.BufferFrozen());
}
